// stli show and stli set: a string list as lines of text, read and saved as the
// string-list editor does.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <limits>
#include <memory>

#include "cli/cli_support.h"
#include "cli/editor_support.h"
#include "core/editors/stli_text.h"
#include "core/io/file.h"

namespace tagwarden::cli {

namespace {

constexpr const char* kStli = "stli";

struct StliOptions {
    std::string path;
    std::string textFile;
    bool force = false;
    SaveOptions saving;
};

std::string readTextFile(const std::string& path)
{
    const File file(path, File::Access::Read, File::Share::DenyWrite);
    const std::uint64_t length = file.length();
    if (length > std::numeric_limits<std::uint32_t>::max())
        throw CommandError("ERROR - \"" + printableMessage(path) + "\" is longer than a string list can be (4 GB)");
    std::string text(static_cast<std::size_t>(length), '\0');
    text.resize(file.readAt(0, text.data(), text.size()));
    // The list could never show the zero byte, and the next set would be refused for dropping it.
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos)
        throw CommandError("ERROR - \"" + printablePath(path) + "\" holds a zero byte (at byte " + std::to_string(zero) +
                           "), which a string list cannot show. Nothing was written.");
    return text;
}

std::size_t lineCount(const std::vector<std::uint8_t>& bytes)
{
    const auto ends = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    return ends + (!bytes.empty() && bytes.back() != '\r' ? 1 : 0);
}

int runShow(const StliOptions& options)
{
    EditorPlugIn plugIn(options.path, EditorPlugIn::Access::Show);
    plugIn.openOrThrow(kStli);
    std::cout << stliLines(plugIn.data());
    return 0;
}

int runSet(const StliOptions& options)
{
    const std::vector<std::uint8_t> bytes = stliFromLines(readTextFile(options.textFile));
    EditorPlugIn plugIn(options.path, EditorPlugIn::Access::Edit, options.saving);
    plugIn.openOrThrow(kStli);
    const std::string prefix = printableMessage(options.path) + ": ";
    const EditorTagFile& tag = plugIn.tag();
    if (!plugIn.changes(tag.name(), tag.id(), bytes)) {
        std::cout << prefix << "unchanged\n";
        return 0;
    }
    // Replacing the text drops what the text cannot show, as any edit in the form does.
    const StliDrops dropped = stliEditDrops(plugIn.data());
    if (dropped.any() && !options.force)
        throw CommandError(prefix + stliDropsMessage(dropped) + " Nothing was written; --force saves it anyway.");
    const std::size_t oldLength = plugIn.data().size();
    const std::size_t oldLines = lineCount(plugIn.data());
    if (!plugIn.save(tag.name(), tag.id(), bytes)) {
        printNotices(plugIn.notices(), prefix);
        throw CommandError(prefix + kStliWriteFailedMessage);
    }
    std::cout << prefix << oldLines << " -> " << lineCount(bytes) << " strings, " << oldLength << " -> "
              << bytes.size() << " bytes\n";
    std::cout.flush();
    printNotices(plugIn.notices(), prefix);
    return 0;
}

}  // namespace

void addStliCommands(CLI::App& app, Command& command)
{
    auto options = std::make_shared<StliOptions>();
    auto* stli = app.add_subcommand("stli", "Show or replace the strings of string-list (stli) plug-ins");
    stli->require_subcommand(1);

    auto* show = stli->add_subcommand("show", "Print the strings, one per line");
    show->add_option("FILE", options->path, "stli plug-in")->required();
    show->callback([&command, options] { command = [options] { return runShow(*options); }; });

    auto* set = stli->add_subcommand("set", "Replace the strings by the lines of a text file");
    set->add_option("FILE", options->path, "stli plug-in")->required();
    set->add_option("--from", options->textFile, "text file: one string per line")->required();
    set->add_flag("--force", options->force, "save even when zero bytes or line feeds of the list are dropped");
    addSaveOptions(*set, options->saving);
    set->callback([&command, options] { command = [options] { return runSet(*options); }; });
}

}  // namespace tagwarden::cli
