#include <gtest/gtest.h>

#include <filesystem>

#include "core/compare/file_comparison.h"
#include "core/compare/sequence_diff.h"
#include "core/io/file.h"
#include "core/io/file_error.h"
#include "core/compare/tag_comparison.h"
#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

using Step = SequenceEdit::Step;
using Change = Difference::Change;

ComparedTag plugInTag(const SampleTag& tag) { return *readPlugInTag(MemoryBytes(buildPlugIn(tag))).tag; }

std::string lineOf(const Comparison& comparison, std::size_t index)
{
    return differenceLine(comparison.differences.at(index), comparison.kind,
                          [](std::string_view text) { return std::string(text.substr(0, text.find('\0'))); });
}

TEST(SequenceEdits, RemovalsBeforeAdditionsOfAShortestEdit)
{
    const struct {
        std::vector<std::string> before, after;
        std::vector<SequenceEdit> edits;
    } rows[] = {
        {{"a", "b", "c"}, {"a", "b", "c"}, {}},
        {{"a", "b", "c"}, {"a", "B", "c", "d"}, {{Step::Remove, 1}, {Step::Add, 1}, {Step::Add, 3}}},
        {{"x", "a", "b"}, {"a", "b", "y"}, {{Step::Remove, 0}, {Step::Add, 2}}},
        {{}, {"a"}, {{Step::Add, 0}}},
        {{"a", "b"}, {}, {{Step::Remove, 0}, {Step::Remove, 1}}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(sequenceEdits(row.before, row.after), row.edits);
    // Too large a middle to weigh: removed and added whole.
    EXPECT_EQ(sequenceEdits({"a", "b"}, {"b", "a"}, 1),
              (std::vector<SequenceEdit>{{Step::Remove, 0}, {Step::Remove, 1}, {Step::Add, 0}, {Step::Add, 1}}));
}

TEST(ComparedTags, ReadFromPlugInsAndArchivesOrRefusedWithAReason)
{
    const SampleTag unit{"Archer", "mons", "abcd", 0, Bytes(512, 7)};
    const MemoryBytes archive(buildArchive({{"Note", "stli", "abcd", 0, {'A'}}, unit}), "tags.gor");
    const ComparedTagRead found = readArchiveTag(archive, "mons", "abcd");
    ASSERT_TRUE(found.tag);
    EXPECT_EQ(found.tag->data, unit.data);
    EXPECT_TRUE(compareTags(*found.tag, plugInTag(unit)).equal());  // start and number do not count
    EXPECT_EQ(readArchiveTag(archive, "mons", "zzzz").problem, "ERROR - \"tags.gor\" holds no mons tag zzzz");
    EXPECT_EQ(readPlugInTag(archive).problem, "ERROR - \"tags.gor\" is not a plug-in");
    Bytes cut = buildPlugIn(unit);
    cut.resize(300);
    EXPECT_EQ(readPlugInTag(MemoryBytes(cut)).problem, "ERROR - The file ends before the tag's 512 bytes of data");
    EXPECT_EQ(archiveOfPlugIn(test::native("/games/Tags/local/mons/abcd")).string(), test::native("/games/Tags/tags.gor"));
}

TEST(ComparedTags, AnArchiveHeldUnsharedIsReadThroughItsHolder)
{
    const SampleTag unit{"Archer", "mons", "abcd", 0, Bytes(512, 7)};
    const test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "local" / "mons");
    const std::string plugIn = dir.write("local/mons/abcd", buildPlugIn(unit));
    const File held(dir.write("tags.gor", buildArchive({unit})), File::Access::Read, File::Share::None);
    EXPECT_THROW((void)compareWithArchive(plugIn), FileError);
    const FileComparison compared = compareWithArchive(plugIn, &held);
    ASSERT_TRUE(compared.comparison);
    EXPECT_TRUE(compared.comparison->equal());
}

TEST(TagComparison, UnitsByTheirFieldsAndTheBytesNoFieldExplains)
{
    Bytes data(512, 0x0A);
    const SampleTag before{"Archer", "mons", "abcd", 0, data};
    data[296] = 120;  // health
    data[72] = 0x01;  // a terrain byte the form shows as allowed, as 0x0A
    data[500] = 0x55;
    const Comparison unit = compareTags(plugInTag(before), plugInTag({"Bowman", "mons", "abcd", 0, data}));
    EXPECT_EQ(unit.kind, ComparisonKind::Unit);
    ASSERT_EQ(unit.differences.size(), 4u);
    EXPECT_EQ(lineOf(unit, 0), "description: Archer -> Bowman");
    EXPECT_EQ(lineOf(unit, 1), "health: 10 -> 120");
    EXPECT_EQ(lineOf(unit, 2), "bytes 0x48: 0A -> 01");
    EXPECT_EQ(lineOf(unit, 3), "bytes 0x1F4: 0A -> 55");
}

TEST(TagComparison, OtherTypesByByteRangesShownShort)
{
    const Comparison bytes = compareTags(plugInTag({"A", "wave", "w", 0, Bytes(40, 0)}),
                                         plugInTag({"A", "wave", "w", 0, Bytes(20, 1)}));
    EXPECT_EQ(bytes.kind, ComparisonKind::Bytes);
    ASSERT_EQ(bytes.differences.size(), 2u);
    EXPECT_EQ(lineOf(bytes, 0), "bytes 0x0-0x13: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ... (20 bytes) -> "
                                "01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 ... (20 bytes)");
    EXPECT_EQ(bytes.differences[1], (Difference{"bytes 0x14-0x27", Change::Removed,
                                                "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ... (20 bytes)", ""}));
    EXPECT_EQ(lineOf(bytes, 1).substr(0, 20), "- bytes 0x14-0x27: 0");
}

}  // namespace
}  // namespace tagwarden
