#include "support/archive_probe.h"

#include <cstring>
#include <map>
#include <utility>

#include "core/io/byte_order.h"
#include "core/io/byte_source.h"
#include "core/tags/directory_reader.h"
#include "core/tags/hex.h"
#include "core/tags/tag_directory.h"
#include "core/tags/tag_text.h"
#include "core/viewer/tag_data.h"
#include "support/recording_observer.h"

namespace tagwarden::test {

namespace {

using Problems = std::vector<std::string>;

void require(Problems& problems, bool holds, const std::string& rule)
{
    if (!holds)
        problems.push_back(rule);
}

// What the file's bytes say the reader must find, worked out straight from them.
struct Expectation {
    ReadOutcome outcome = ReadOutcome::NoDirectory;
    std::uint64_t firstHeader = 0;
    std::size_t entries = 0;
};

Expectation expect(const std::vector<std::uint8_t>& bytes)
{
    const std::uint64_t length = bytes.size();
    if (length >= kTagHeaderSize && std::memcmp(bytes.data() + 60, "vorn", 4) == 0)
        return {ReadOutcome::SingleTag, 0, 1};
    if (length < 44)
        return {};
    const std::uint32_t offset = readBigEndian32(bytes.data() + 40);
    if (offset < kTagHeaderSize || length < kTagHeaderSize || offset > length - kTagHeaderSize)
        return {};
    return {ReadOutcome::Archive, offset, static_cast<std::size_t>((length - offset) / kTagHeaderSize)};
}

class ProgressCheck : public ProgressObserver {
public:
    void begin() override { ++begun; }
    void setRange(int minimum, int maximum) override { ranges.emplace_back(minimum, maximum); }
    void setStep(int value) override { step = value; }
    void setText(const std::string& text) override { lastText = text; }
    void stepIt() override { ++steps; }
    void end() override { ++ended; }

    int begun = 0, ended = 0, step = 0, steps = 0;
    std::vector<std::pair<int, int>> ranges;
    std::string lastText;
};

void checkProgress(Problems& problems, const ProgressCheck& progress, const Expectation& expected)
{
    if (expected.outcome != ReadOutcome::Archive) {
        require(problems, progress.begun == 0 && progress.steps == 0, "progress shown without a directory");
        return;
    }
    require(problems, progress.begun == 1 && progress.ended == 1, "progress not begun and ended once");
    require(problems, progress.step == 1, "progress step is not 1");
    require(problems, !progress.ranges.empty() && progress.ranges.back().second <= 100 && progress.steps <= 100,
            "progress range or step count out of bounds");
    require(problems, progress.lastText == "Mapping List....", "last progress text is not the mapping text");
}

void checkEntry(Problems& problems, const TagDirectory& directory, std::size_t i, const Expectation& expected,
                const std::vector<std::uint8_t>& bytes, const ByteSource& source)
{
    const TagEntry& entry = directory.entryAt(i);
    const std::uint64_t position = expected.firstHeader + i * kTagHeaderSize;
    require(problems, entry.headerPosition() == position, "header position is not in file order");
    require(problems, std::memcmp(entry.header().data(), bytes.data() + position, kTagHeaderSize) == 0,
            "entry bytes differ from the file");
    // Texts and data come from one code path for every entry; a few, the last among them, keep the probe quick.
    if (i >= 8 && i + 1 != directory.entryCount())
        return;
    require(problems,
            entry.name().size() <= 32 && entry.type().size() == 4 && entry.id().size() == 4 &&
                entry.signature().size() == 4,
            "text field of the wrong width");
    require(problems,
            entry.reserved1Text().size() == 14 && entry.reserved2Text().size() == 8 && entry.dumpText().size() == 192,
            "hex field of the wrong width");
    require(problems,
            hexValue(entry.startAddressText()) == entry.startAddress() &&
                hexValue(entry.lengthText()) == entry.dataLength(),
            "hex text and value disagree");
    require(problems, entry.listLine().find(" : ") != std::string::npos, "list line without its separator");
    TagData data;
    (void)data.load(source, entry);
    const std::uint64_t available =
        entry.startAddress() < bytes.size() ? bytes.size() - entry.startAddress() : std::uint64_t{0};
    const std::size_t loaded = data.bytes().size();
    require(problems, loaded <= TagData::kMaxBytes && loaded <= entry.dataLength() && loaded <= available,
            "loaded data larger than the tag, the cap or the file");
}

// The index of ids by type, rebuilt the slow, obvious way.
void checkGroups(Problems& problems, const TagDirectory& directory)
{
    std::map<std::uint32_t, std::size_t> groupOfType;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::size_t> firstOf;
    for (std::size_t i = 0; i < directory.entryCount(); ++i) {
        const TagEntry& entry = directory.entryAt(i);
        groupOfType.try_emplace(entry.typeKey(), groupOfType.size());
        firstOf.try_emplace({entry.typeKey(), entry.idKey()}, i);
    }
    const auto& groups = directory.typeGroups();
    require(problems, groups.size() == groupOfType.size(), "not one group per type");
    std::size_t members = 0;
    std::string all;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::uint32_t type = codeKey(groups[g].type);
        require(problems, groupOfType.count(type) == 1 && groupOfType[type] == g, "groups not in order of appearance");
        for (const GroupMember& member : groups[g].members) {
            const auto index = static_cast<std::size_t>(member.index);
            require(problems,
                    index < directory.entryCount() &&
                        firstOf[{type, codeKey(member.idText())}] == index,
                    "member is not the first entry of its type and id");
        }
        members += groups[g].members.size();
        require(problems, directory.idsOfType(groups[g].type).size() == 4 * groups[g].members.size(),
                "idsOfType is not four bytes per member");
        all += directory.dumpMapText(g + 1);
    }
    require(problems, members == firstOf.size(), "a type and id pair is missing from the groups");
    require(problems, directory.dumpMapText(0) == all, "\"All\" dump differs from the groups' dumps in order");
    require(problems, directory.dumpMapText(std::nullopt).empty(), "dump without a selection is not empty");
}

std::vector<std::uint8_t> contentOf(const ByteSource& source)
{
    std::vector<std::uint8_t> bytes(source.length());
    bytes.resize(source.readAt(0, bytes.data(), bytes.size()));
    return bytes;
}

}  // namespace

std::vector<std::string> probeArchive(const ByteSource& source)
{
    Problems problems;
    const std::vector<std::uint8_t> bytes = contentOf(source);
    const Expectation expected = expect(bytes);

    TagDirectory directory;
    RecordingObserver list;
    ProgressCheck progress;
    directory.setObserver(&list);
    require(problems, readDirectory(directory, source, &progress) == expected.outcome, "wrong kind of file");
    require(problems, directory.entryCount() == expected.entries, "not one entry per complete header");
    require(problems, list.indexes.size() == directory.entryCount(), "not one list line per entry");
    require(problems, list.statuses.size() == directory.typeGroups().size(), "not one status text per new type");
    checkProgress(problems, progress, expected);
    for (std::size_t i = 0; i < directory.entryCount() && problems.empty(); ++i)
        checkEntry(problems, directory, i, expected, bytes, source);
    checkGroups(problems, directory);

    directory.clearAll();
    require(problems, directory.entryCount() == 0 && directory.typeGroups().empty(), "clearAll left something");
    return problems;
}

}  // namespace tagwarden::test
