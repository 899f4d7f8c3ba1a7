// view and extract: the data viewer's lines and its plug-in writer for scripts.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "core/viewer/extraction_batch.h"
#include "core/viewer/plug_in_extraction.h"
#include "core/viewer/plug_in_writer.h"
#include "core/viewer/tag_data.h"
#include "core/viewer/viewer_lines.h"

namespace tagwarden::cli {

namespace {

struct ViewerOptions {
    std::string path;
    std::string selector;
    std::vector<std::string> selectors;  // extract: one or more
    bool ascii = false;
    std::string output;
    std::string type;
    bool all = false;
    bool force = false;
    std::string folder;
};

int runView(const ViewerOptions& options)
{
    OpenedArchive archive(options.path);
    const TagEntry& entry = archive.directory().entryAt(archive.select(options.selector));
    const ViewerLayout layout = options.ascii ? ViewerLayout::Character : ViewerLayout::Hex;
    TagData data;
    const std::string hexText = data.load(archive.file(), entry);
    const std::string characterText = layout == ViewerLayout::Character ? data.asciiText() : std::string{};
    for (const std::string& line : viewerLines(hexText, characterText, entry.startAddress(), layout))
        std::cout << line << '\n';
    if (!data.shortRead())
        return 0;
    std::cout.flush();
    std::cerr << "WARNING - only " << data.bytes().size() << " of " << data.expectedBytes()
              << " bytes could be read: the file ends before the tag's data does\n";
    return 1;
}

PlugInWriter::Existing existingFor(const ViewerOptions& options)
{
    return options.force ? PlugInWriter::Existing::Replace : PlugInWriter::Existing::FillEmpty;
}

// One plug-in's outcome as the viewer's message boxes would tell it; in a batch
// every line names its file. Answers whether the plug-in was created.
bool printOutcome(const ExtractedPlugIn& outcome, bool namePath)
{
    const std::string prefix = namePath ? printableMessage(outcome.path) + ": " : std::string{};
    if (outcome.created) {
        std::cout << prefix << kPlugInCreatedMessage << '\n';
        return true;
    }
    for (const Notice& notice : outcome.notices)
        std::cerr << prefix << printableMessage(notice.text) << '\n';
    std::cerr << prefix << kPlugInNotCreatedMessage << '\n';
    return false;
}

// Each selected entry to the plug-in proposed beside FILE (its folder made when
// missing), or the one entry to -o as given.
int runExtract(const ViewerOptions& options)
{
    OpenedArchive archive(options.path);
    if (!options.output.empty()) {
        const TagEntry& entry = archive.directory().entryAt(archive.select(options.selectors.front()));
        return printOutcome(extractPlugIn(archive.file(), options.path, entry, options.output, existingFor(options)),
                            false)
                   ? 0
                   : 1;
    }
    std::vector<std::pair<std::uint32_t, std::string>> targets;
    for (const std::string& selector : options.selectors) {
        const std::size_t index = archive.select(selector);
        targets.emplace_back(static_cast<std::uint32_t>(index),
                             proposedPlugInName(options.path, archive.directory().entryAt(index)));
    }
    const bool several = targets.size() > 1;
    bool allCreated = true;
    (void)ExtractionBatch(archive.file(), options.path, archive.directory(), existingFor(options))
        .extractTo(targets, [&](const ExtractionBatch::Result& result, std::size_t, std::size_t) {
            allCreated = printOutcome(result.plugIn, several) && allCreated;
            return true;
        });
    return allCreated ? 0 : 1;
}

int runExtractAll(const ViewerOptions& options)
{
    OpenedArchive archive(options.path);
    const TagDirectory& directory = archive.directory();
    const auto g = directory.findGroup(options.type);
    if (!g)
        return 0;
    const TypeGroup& group = directory.typeGroups()[*g];
    const std::string folder = options.folder.empty() ? proposedPlugInFolder(options.path, group.type) : options.folder;
    bool allCreated = true;
    extractGroup(archive.file(), options.path, directory, group, folder,
                 [&allCreated](const ExtractedPlugIn& outcome) { allCreated = printOutcome(outcome, true) && allCreated; },
                 existingFor(options));
    return allCreated ? 0 : 1;
}

void checkExtractOptions(const ViewerOptions& options)
{
    if (options.all && (options.type.empty() || !options.selectors.empty() || !options.output.empty()))
        throw CLI::ValidationError("extract --all", "needs --type T and takes neither SEL nor -o");
    if (!options.all && (options.selectors.empty() || !options.type.empty() || !options.folder.empty()))
        throw CLI::ValidationError("extract", "needs SEL, or --type T --all");
    if (options.selectors.size() > 1 && !options.output.empty())
        throw CLI::ValidationError("extract", "-o names one plug-in: give one SEL with it");
}

}  // namespace

void addViewerCommands(CLI::App& app, Command& command)
{
    auto options = std::make_shared<ViewerOptions>();

    auto* view = app.add_subcommand("view", "Print an entry's data as the viewer lists it (first 2048 bytes)");
    view->add_option("FILE", options->path, "tag archive or plug-in")->required();
    view->add_option("SEL", options->selector, "entry index or TYPE:ID")->required();
    view->add_flag("--ascii", options->ascii, "20 bytes a line with a character column");
    view->callback([&command, options] { command = [options] { return runView(*options); }; });

    auto* extract = app.add_subcommand("extract", "Write an entry, or every member of a type, as plug-ins");
    extract->add_option("FILE", options->path, "tag archive or plug-in")->required();
    extract->add_option("SEL", options->selectors, "entry indexes or TYPE:IDs");
    extract->add_option("-o", options->output, "with one SEL: plug-in to write (default: local/TYPE/ID beside FILE)");
    extract->add_option("--type", options->type, "with --all: the type whose members are written");
    extract->add_flag("--all", options->all, "write every member of --type's group");
    extract->add_flag("--force", options->force, "replace a plug-in that exists and is not empty");
    extract->add_option("-d", options->folder, "with --all: folder for the plug-ins (created when missing)");
    extract->callback([&command, options] {
        checkExtractOptions(*options);
        command = [options] { return options->all ? runExtractAll(*options) : runExtract(*options); };
    });
}

}  // namespace tagwarden::cli
