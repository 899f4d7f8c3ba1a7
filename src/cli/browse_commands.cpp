// list, dump-map and header: the browser's views as stable text for scripts.
#include <CLI/CLI.hpp>
#include <charconv>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "core/tags/hex.h"

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

// The lines of `list`, made straight from the header bytes into one buffer that
// goes out in large pieces: a million lines cost little more than their bytes.
class ListPrinter {
public:
    explicit ListPrinter(const TagDirectory& directory) : directory_(directory) { out_.reserve(kPiece + 256); }

    // INDEX TYPE ID START LENGTH NAME, tab-separated.
    void print(std::size_t index)
    {
        using namespace tag_header;
        const TagHeaderBytes& header = directory_.headerAt(index);
        char digits[24];
        out_.append(digits, std::to_chars(digits, digits + sizeof digits, index).ptr);
        out_ += '\t';
        appendPrintable(out_, fieldText(header, kType));
        out_ += '\t';
        appendPrintable(out_, fieldText(header, kId));
        for (const TagField field : {kStartAddress, kDataLength}) {
            out_ += '\t';
            for (std::size_t i = field.offset; i < field.offset + field.width; ++i)
                appendHexByte(out_, header[i]);
        }
        out_ += '\t';
        appendPrintable(out_, fieldText(header, kName));
        out_ += '\n';
        if (out_.size() >= kPiece)
            flush();
    }

    void flush()
    {
        std::cout.write(out_.data(), static_cast<std::streamsize>(out_.size()));
        out_.clear();
    }

private:
    static constexpr std::size_t kPiece = 1 << 16;
    const TagDirectory& directory_;
    std::string out_;
};

int runList(const BrowseOptions& options)
{
    OpenedArchive archive(options.path);
    const TagDirectory& directory = archive.directory();
    // Every entry in file order, or the members of --type's group.
    const auto forEachListed = [&](const auto& show) {
        if (options.type.empty()) {
            for (std::size_t i = 0; i < directory.entryCount(); ++i)
                show(i);
        } else if (const auto g = namedGroup(directory, options.type)) {
            for (const GroupMember& member : directory.typeGroups()[*g].members)
                show(static_cast<std::size_t>(member.index));
        }
    };
    if (options.json) {
        std::vector<std::size_t> indexes;
        forEachListed([&indexes](std::size_t index) { indexes.push_back(index); });
        printListJson(directory, indexes);
        return 0;
    }
    ListPrinter printer(directory);
    forEachListed([&printer](std::size_t index) { printer.print(index); });
    printer.flush();
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
    // Types and ids escaped, as everywhere in this tool: no raw control byte reaches the terminal.
    std::cout << directory.dumpMapText(selection, appendPrintable) << '\n';
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
