// list, dump-map and header: the browser's views as stable text for scripts.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/json_output.h"

namespace tagwarden::cli {

namespace {

struct BrowseOptions {
    std::string path;
    std::string type;
    std::string selector;
    bool json = false;
};

// The group that --type names; an unknown type lists nothing, which scripts are told on stderr.
std::optional<std::size_t> namedGroup(const TagDirectory& directory, const std::string& type)
{
    const auto group = directory.findGroup(type);
    if (!group)
        std::cerr << "No objects of type " << printable(type) << '\n';
    return group;
}

// `list --json`: one array, written entry by entry so that a big archive needs no second copy.
void printListJson(const TagDirectory& directory, const std::vector<std::size_t>& indexes)
{
    std::cout << '[';
    const char* separator = "\n";
    for (const std::size_t index : indexes) {
        std::cout << separator << listEntryJson(directory.entryAt(index), index).dump();
        separator = ",\n";
    }
    std::cout << "\n]\n";
}

void printListLine(const TagDirectory& directory, std::size_t index)
{
    const TagEntry& e = directory.entryAt(index);
    std::cout << index << '\t' << printable(e.type()) << '\t' << printable(e.id()) << '\t' << e.startAddressText()
              << '\t' << e.lengthText() << '\t' << printable(e.name()) << '\n';
}

int runList(const BrowseOptions& options)
{
    OpenedArchive archive(options.path);
    const TagDirectory& directory = archive.directory();
    if (options.json) {
        std::vector<std::size_t> indexes;
        if (options.type.empty()) {
            for (std::size_t i = 0; i < directory.entryCount(); ++i)
                indexes.push_back(i);
        } else if (const auto g = namedGroup(directory, options.type)) {
            for (const GroupMember& member : directory.typeGroups()[*g].members)
                indexes.push_back(static_cast<std::size_t>(member.index));
        }
        printListJson(directory, indexes);
        return 0;
    }
    if (options.type.empty()) {
        for (std::size_t i = 0; i < directory.entryCount(); ++i)
            printListLine(directory, i);
        return 0;
    }
    if (const auto g = namedGroup(directory, options.type))
        for (const GroupMember& member : directory.typeGroups()[*g].members)
            printListLine(directory, static_cast<std::size_t>(member.index));
    return 0;
}

int runDumpMap(const BrowseOptions& options)
{
    OpenedArchive archive(options.path);
    const TagDirectory& directory = archive.directory();
    std::optional<std::size_t> selection = 0;
    if (!options.type.empty()) {
        const auto g = namedGroup(directory, options.type);
        selection = g ? std::optional<std::size_t>(*g + 1) : std::nullopt;
    }
    if (options.json) {
        std::vector<std::size_t> groups;
        for (std::size_t g = 0; g < directory.typeGroups().size(); ++g)
            if (selection == 0 || selection == g + 1)
                groups.push_back(g);
        std::cout << dumpMapJson(directory, groups).dump(2) << '\n';
        return 0;
    }
    std::cout << directory.dumpMapText(selection) << '\n';
    return 0;
}

int runHeader(const BrowseOptions& options)
{
    OpenedArchive archive(options.path);
    const std::size_t index = archive.select(options.selector);
    const TagEntry& e = archive.directory().entryAt(index);
    if (options.json) {
        std::cout << headerJson(e, index).dump(2) << '\n';
        return 0;
    }
    std::cout << "Description: " << printable(e.name()) << '\n'
              << "Obj type: " << printable(e.type()) << '\n'
              << "Obj Name: " << printable(e.id()) << '\n'
              << "Reserved1: " << e.reserved1Text() << '\n'
              << "Obj Number: " << e.number() << '\n'
              << "Start Address: " << e.startAddressText() << '\n'
              << "Length of Data: " << e.lengthText() << '\n'
              << "Reserved2: " << e.reserved2Text() << '\n'
              << "Vorn Tag: " << printable(e.signature()) << '\n'
              << "Dump: " << e.dumpText() << '\n';
    return 0;
}

}  // namespace

void addBrowseCommands(CLI::App& app, Command& command)
{
    auto options = std::make_shared<BrowseOptions>();

    auto* list = app.add_subcommand("list", "List the entries: INDEX TYPE ID START LENGTH NAME, tab-separated");
    list->add_option("FILE", options->path, "tag archive or plug-in")->required();
    list->add_option("--type", options->type, "only the members of this type's group");
    list->add_flag("--json", options->json, "one JSON array of entries");
    list->callback([&command, options] { command = [options] { return runList(*options); }; });

    auto* dump = app.add_subcommand("dump-map", "Print the index of ids by type");
    dump->add_option("FILE", options->path, "tag archive or plug-in")->required();
    dump->add_option("--type", options->type, "only this type's group");
    dump->add_flag("--json", options->json, "one JSON array of groups");
    dump->callback([&command, options] { command = [options] { return runDumpMap(*options); }; });

    auto* header = app.add_subcommand("header", "Print one entry's header fields");
    header->add_option("FILE", options->path, "tag archive or plug-in")->required();
    header->add_option("SEL", options->selector, "entry index or TYPE:ID")->required();
    header->add_flag("--json", options->json, "one JSON object");
    header->callback([&command, options] { command = [options] { return runHeader(*options); }; });
}

}  // namespace tagwarden::cli
