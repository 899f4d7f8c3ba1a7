// The data viewer and plug-in writer on arbitrary archives: the first entries'
// data is loaded and laid out both ways, and the first of them written out as
// plug-ins into a scratch folder under the names the writer proposes. Whatever the
// bytes, the lines keep their shape, and a plug-in is the exact copy or not there.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/io/file.h"
#include "core/io/memory_bytes.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "core/viewer/plug_in_extraction.h"
#include "core/viewer/plug_in_writer.h"
#include "core/viewer/tag_data.h"
#include "core/viewer/viewer_lines.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using namespace tagwarden;

constexpr std::size_t kEntriesTried = 4;
// Writing is one code path for every entry; a few keep the run quick.
constexpr std::size_t kEntriesWritten = 2;

// Emptied after every input.
const fs::path& scratch()
{
    static const fuzz::ScratchFolder scratch("viewer_fuzzer");
    return scratch.path();
}

using fuzz::check;

void checkLines(const TagEntry& entry, const TagData& data, const std::string& hexText)
{
    const std::size_t n = data.bytes().size();
    check(n <= TagData::kMaxBytes && n <= entry.dataLength() && hexText.size() == 3 * n, "loaded data size");
    const auto hex = viewerLines(hexText, "", entry.startAddress(), ViewerLayout::Hex);
    check(hex.size() == (n + 31) / 32, "hex line count");
    for (const std::string& line : hex)
        check(line.size() <= 110, "hex line too long");
    const auto characters = viewerLines(hexText, data.asciiText(), entry.startAddress(), ViewerLayout::Character);
    check(characters.size() == (n + 19) / 20, "character line count");
    for (const std::string& line : characters)
        check(line.size() <= 97, "character line too long");
}

void checkPlugIn(const ByteSource& source, const TagEntry& entry, const std::uint8_t* data, std::size_t size)
{
    const std::string archive = (scratch() / "tags.gor").string();
    const std::string folder = proposedPlugInFolder(archive, entry.type());
    check(fs::path(folder).parent_path() == scratch() / "local", "proposed folder leaves local/");
    fs::create_directories(folder);
    const std::string target = proposedPlugInName(archive, entry);
    check(fs::path(target).parent_path() == fs::path(folder), "proposed name leaves its folder");

    const ExtractedPlugIn outcome = extractPlugIn(source, source.path(), entry, target);
    const std::uint64_t end = std::uint64_t{entry.startAddress()} + entry.dataLength();
    const bool complete = entry.headerPosition() + 64 <= size && (entry.dataLength() == 0 || end <= size);
    check(outcome.created == complete, "plug-in written exactly when the source holds it all");
    check(fs::exists(target) == outcome.created, "failed plug-in left behind");
    if (outcome.created) {
        File copy(target, File::Access::Read, File::Share::DenyWrite);
        std::string bytes(copy.length(), '\0');
        check(copy.read(bytes.data(), bytes.size()) == 64 + entry.dataLength(), "plug-in size");
        check(std::memcmp(bytes.data() + 64, data + entry.startAddress(), entry.dataLength()) == 0, "plug-in data");
        check(std::memcmp(bytes.data() + 48, "\0\0\0\x40", 4) == 0, "plug-in start address");
    }
    fs::remove_all(scratch() / "local");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemoryBytes input(std::vector<std::uint8_t>(data, data + size));
    TagDirectory directory;
    if (readDirectory(directory, input, nullptr) == ReadOutcome::NoDirectory)
        return 0;
    for (std::size_t i = 0; i < directory.entryCount() && i < kEntriesTried; ++i) {
        const TagEntry& entry = directory.entryAt(i);
        TagData loaded;
        const std::string hexText = loaded.load(input, entry);
        checkLines(entry, loaded, hexText);
        if (i < kEntriesWritten)
            checkPlugIn(input, entry, data, size);
    }
    return 0;
}
