#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/io/file.h"
#include "core/tags/tag_directory.h"

namespace CLI {
class App;
}

namespace tagwarden::cli {

// An error the command reports on stderr before exiting with 1.
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command to run once the arguments are parsed; answers the exit code.
using Command = std::function<int()>;

// A tag text for scripts: up to the first NUL, printable ASCII as itself except
// "\" as "\\", every other byte as \xHH.
[[nodiscard]] std::string printable(std::string_view field);
// The same, appended to `out`.
void appendPrintable(std::string& out, std::string_view field);
// The same for a message: on Windows its paths separate their names with "\",
// which stays itself there.
[[nodiscard]] std::string printableMessage(std::string_view text);
void appendPrintableMessage(std::string& out, std::string_view text);
// A path for messages: printable, with the system's own separator ("\" on
// Windows, shown as itself).
[[nodiscard]] std::string printablePath(std::string_view path);

// A text argument as a tag stores it: Latin-1. In a UTF-8 locale the argument is
// decoded; a character Latin-1 cannot hold, or bytes that are not UTF-8, are a
// CommandError naming `what`. In any other locale its bytes are taken as they are.
[[nodiscard]] std::string tagTextOfArgument(const std::string& text, const std::string& what);
// A character the decoding below refused: its code point and its bytes as typed
// (both empty when the bytes are not UTF-8 at all).
struct RefusedCharacter {
    std::uint32_t code = 0;
    std::string_view bytes;
};
// The same decoding, whatever the locale: nothing when `text` is not UTF-8 or holds
// a character past U+00FF, which then goes to `refused`.
[[nodiscard]] std::optional<std::string> latin1FromUtf8(std::string_view text, RefusedCharacter& refused);

// SEL: a decimal index or TYPE:ID (the first entry with that type and id).
[[nodiscard]] std::size_t selectEntry(const TagDirectory& directory, const std::string& selector);  // throws CommandError

// An archive or plug-in opened read-only and its directory read.
class OpenedArchive {
public:
    explicit OpenedArchive(const std::string& path);  // throws CommandError, FileError

    [[nodiscard]] File& file() { return file_; }
    [[nodiscard]] const TagDirectory& directory() const { return directory_; }
    [[nodiscard]] TagDirectory& directory() { return directory_; }
    [[nodiscard]] std::size_t select(const std::string& selector) const { return selectEntry(directory_, selector); }

private:
    File file_;
    TagDirectory directory_;
};

void addBrowseCommands(CLI::App& app, Command& command);
void addSampleCommand(CLI::App& app, Command& command);
void addViewerCommands(CLI::App& app, Command& command);
void addMonsCommands(CLI::App& app, Command& command);
void addStliCommands(CLI::App& app, Command& command);
void addMeshCommands(CLI::App& app, Command& command);

}  // namespace tagwarden::cli
