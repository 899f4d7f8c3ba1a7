// The command line's own layer on arbitrary input: the first line is a selector
// (SEL), the rest an archive. Whatever the bytes, the escaped texts print nothing
// but printable ASCII and give the original back, a selection names the first
// entry it should or fails with a printable message, the JSON of an entry can be
// written, and the names that `extract --all` gives stay inside their folder.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "core/io/memory_bytes.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "core/tags/tag_text.h"
#include "core/viewer/plug_in_writer.h"
#include "fuzz_support.h"

namespace {

using namespace tagwarden;
using fuzz::check;

constexpr std::size_t kEntriesTried = 4;
constexpr std::size_t kGroupsTried = 8;
constexpr std::size_t kMembersTried = 16;

bool allPrintable(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// The escapes undone; false when the text is not a well-formed escaped text.
bool unescape(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            i += 1;
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
            out += static_cast<char>(16 * hexDigit(text[i + 2]) + hexDigit(text[i + 3]));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

void checkPrintable(std::string_view field)
{
    const std::string text = cli::printable(field);
    check(allPrintable(text), "an escaped text holds a byte that does not print");
    std::string back;
    check(unescape(text, back) && back == upToNul(field), "an escaped text does not give the original back");
    std::string appended = "x";
    cli::appendPrintable(appended, field);
    check(appended == "x" + text, "appending escapes differently");
}

// Answers the selected index, or the entry count when the selection failed.
std::size_t trySelect(const TagDirectory& directory, const std::string& selector)
{
    try {
        const std::size_t index = cli::selectEntry(directory, selector);
        check(index < directory.entryCount(), "selected an entry that is not there");
        return index;
    } catch (const cli::CommandError& error) {
        check(allPrintable(error.what()), "a selection message holds a byte that does not print");
        return directory.entryCount();
    }
}

bool isDecimal(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string withoutLeadingZeros(const std::string& digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

// The same type and id as the selector's TYPE:ID, compared as texts up to a NUL.
bool named(const TagEntry& entry, std::string_view type, std::string_view id)
{
    return upToNul(entry.type()) == upToNul(type) && upToNul(entry.id()) == upToNul(id);
}

void checkSelection(const TagDirectory& directory, const std::string& selector)
{
    const std::size_t index = trySelect(directory, selector);
    const auto colon = selector.find(':');
    if (colon == std::string::npos) {
        if (index < directory.entryCount())
            check(isDecimal(selector) && std::to_string(index) == withoutLeadingZeros(selector),
                  "an index selected another entry");
        return;
    }
    const std::string_view type = std::string_view(selector).substr(0, colon);
    const std::string_view id = std::string_view(selector).substr(colon + 1);
    for (std::size_t i = 0; i < index && i < directory.entryCount(); ++i)
        check(!named(directory.entryAt(i), type, id), "TYPE:ID did not select the first entry it names");
    if (index < directory.entryCount())
        check(named(directory.entryAt(index), type, id), "TYPE:ID selected an entry of another name");
}

// An entry's own index and TYPE:ID select it (or an earlier one of the same name).
void checkEntrySelection(const TagDirectory& directory, std::size_t i)
{
    const TagEntry& entry = directory.entryAt(i);
    check(trySelect(directory, std::to_string(i)) == i, "an entry's index does not select it");
    const std::string typeField = entry.type();
    const std::string_view type = upToNul(typeField);
    if (type.find(':') == std::string_view::npos) {
        const std::size_t by = trySelect(directory, std::string(type) + ":" + std::string(upToNul(entry.id())));
        check(by <= i && named(directory.entryAt(by), entry.type(), entry.id()), "an entry's TYPE:ID does not select it");
    }
}

// A file name made from a tag text is one component, neither "." nor "..".
void checkFileName(std::string_view field)
{
    const std::string name = plugInFileName(field);
    check(!name.empty() && name != "." && name != "..", "a plug-in name that is no file name");
    check(name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos, "a plug-in name leaves its folder");
    check(plugInPath("dir", field) == "dir/" + name, "a plug-in path is not folder/name");
}

void checkGroupNames(const TagDirectory& directory)
{
    const auto& groups = directory.typeGroups();
    for (std::size_t g = 0; g < groups.size() && g < kGroupsTried; ++g) {
        const TypeGroup& group = groups[g];
        check(proposedPlugInFolder("/a/tags.gor", group.type) == "/a/local/" + plugInFileName(group.type),
              "the proposed folder is not local/TYPE");
        checkFileName(group.type);
        for (std::size_t m = 0; m < group.members.size() && m < kMembersTried; ++m)
            checkFileName(group.members[m].idText());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(text.find('\n'), text.size());
    const std::string selector(text.substr(0, lineEnd));
    const std::size_t archiveStart = std::min(lineEnd + 1, size);
    const MemoryBytes archive(std::vector<std::uint8_t>(data + archiveStart, data + size));

    checkPrintable(selector);
    checkFileName(selector);
    TagDirectory directory;
    (void)readDirectory(directory, archive, nullptr);
    checkSelection(directory, selector);
    for (std::size_t i = 0; i < directory.entryCount() && i < kEntriesTried; ++i) {
        checkPrintable(directory.entryAt(i).name());
        checkEntrySelection(directory, i);
    }
    // JSON is one code path for every entry; the first one keeps the run quick.
    if (directory.entryCount() > 0) {
        (void)cli::listEntryJson(directory.entryAt(0), 0).dump();
        (void)cli::headerJson(directory.entryAt(0), 0).dump();
    }
    checkGroupNames(directory);
    return 0;
}
