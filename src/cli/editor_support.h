#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/editors/editor_tag_file.h"
#include "core/prompt/notice.h"
#include "core/prompt/prompter.h"
#include "core/settings/settings_store.h"

namespace CLI {
class App;
}

namespace tagwarden::cli {

// How a command answers one question of a save, found by its closing words; a
// question refused is kept with `refusedHint` (what the command would need).
struct BatchAnswer {
    const char* question;
    Prompter::Answer answer;
    std::string refusedHint;
};

// Stands in for the user where an editor asks: the file chooser answers with the
// one path the command names, a question gets the answer fixed by the options
// (Cancel when none is), and every notice is kept for the command to print. A
// question answered "Ok" is the command's documented choice (saving without a
// backup when none was asked for) and is not kept.
class BatchPrompter : public Prompter {
public:
    BatchPrompter(std::string path, std::vector<BatchAnswer> answers)
        : path_(std::move(path)), answers_(std::move(answers))
    {
    }

    Answer message(const std::string& text, Buttons buttons, Icon icon, const std::string& caption) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;

    [[nodiscard]] const std::vector<std::string>& notices() const { return notices_; }

private:
    std::string path_;
    std::vector<BatchAnswer> answers_;
    std::vector<std::string> notices_;
};

// The options of the commands that save plug-ins.
struct SaveOptions {
    std::string backupFolder;  // empty: no backup is made
    bool noBackup = false;     // save even when the backup cannot be made
    bool breakLinks = false;   // save a file of several names (hard links) as a file of its own
};

// A plug-in opened as the unit and string-list editors open it, and saved through
// their save path: a backup first (only with a backup folder), then the file
// replaced whole.
class EditorPlugIn {
public:
    enum class Access { Show, Edit };  // Show opens read-only and never writes

    EditorPlugIn(const std::string& path, Access access, const SaveOptions& options = {});

    // The editor's start: the header read, its type checked against `type`, then
    // `size` bytes of data (the header's length of data without a size). False
    // when the editor would refuse the file; its notices say why.
    [[nodiscard]] bool open(const std::string& type, std::optional<std::uint32_t> size = std::nullopt);
    // open, or a CommandError with the editor's message.
    void openOrThrow(const std::string& type, std::optional<std::uint32_t> size = std::nullopt);

    [[nodiscard]] EditorTagFile& tag() { return tag_; }
    [[nodiscard]] const EditorTagFile& tag() const { return tag_; }
    [[nodiscard]] const std::vector<std::uint8_t>& data() const { return data_; }
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] const std::vector<std::string>& notices() const { return prompter_.notices(); }

    // Whether the header copy with these fields and `data` differ from the file.
    [[nodiscard]] bool changes(const std::string& name, const std::string& id, std::span<const std::uint8_t> data) const;
    // The editor's save: name, id and the data's length into the header copy, then
    // header and data into the file. False when nothing was written (notices say why).
    [[nodiscard]] bool save(const std::string& name, const std::string& id, std::span<const std::uint8_t> data);

private:
    // The value, with the notices kept among the prompter's.
    template <typename T>
    T shown(Reported<T> reported);

    std::string path_;
    MemorySettingsStore settings_;
    BatchPrompter prompter_;
    EditorTagFile tag_;
    std::vector<std::uint8_t> data_;
};

// `text` with every line escaped as `printable` does, each line after `prefix`.
[[nodiscard]] std::string escapedLines(const std::string& text, const std::string& prefix = {});
// Prints `notices` on stderr, every line after `prefix`.
void printNotices(const std::vector<std::string>& notices, const std::string& prefix);

// The --backup-dir, --no-backup and --break-links options of the commands that write plug-ins.
void addSaveOptions(CLI::App& command, SaveOptions& options);

}  // namespace tagwarden::cli
