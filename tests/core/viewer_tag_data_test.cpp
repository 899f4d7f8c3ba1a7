#include <gtest/gtest.h>

#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/tags/tag_entry.h"
#include "core/viewer/tag_data.h"

namespace tagwarden {
namespace {

TEST(TagData, LoadAnswersTwoDigitsAndABlankPerByte)
{
    const MemoryBytes file(Bytes{0x10, 0x4A, 0x00, 0xFF, 0x20});
    TagData data;
    EXPECT_EQ(data.load(file, 1, 3), "4A 00 FF ");
    EXPECT_EQ(data.bytes(), (Bytes{0x4A, 0x00, 0xFF}));
}

TEST(TagData, LoadsAtMost2048Bytes)
{
    const MemoryBytes file(Bytes(5000, 0x41));
    TagData data;
    EXPECT_EQ(data.load(file, 0, 5000).size(), 3u * 2048);
    EXPECT_EQ(data.load(file, 0, 2048).size(), 3u * 2048);
    EXPECT_EQ(data.load(file, 0, 2047).size(), 3u * 2047);
}

TEST(TagData, KeepsOnlyTheBytesTheFileStillHolds)
{
    const MemoryBytes file(Bytes{1, 2, 3, 4, 5});
    TagData data;
    EXPECT_EQ(data.load(file, 3, 100), "04 05 ");
    EXPECT_EQ(data.asciiText(), "..");
    EXPECT_EQ(data.load(file, 0xFFFFFFFFu, 100), "");
    EXPECT_TRUE(data.bytes().empty());
}

TEST(TagData, CharactersArePrintableAsciiOnly)
{
    const MemoryBytes file(Bytes{0x13, 0x14, 0x1F, 0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF, 0x00});
    TagData data;
    (void)data.load(file, 0, 10);
    EXPECT_EQ(data.asciiText(), "... A~....");
}

TEST(TagEntryData, AsciiTextIsErrorUntilLoadedAndEachLoadReadsTheFileAgain)
{
    const SampleTag tag{"Words", "stli", "wxyz", 0, {'a', 'b', 'c'}};
    MemoryBytes file(buildArchive({tag}));
    TagEntry entry(makeHeader(tag, 64), 67);
    EXPECT_EQ(entry.dataAsciiText(), "ERROR");

    EXPECT_EQ(entry.loadData(file), "61 62 63 ");
    EXPECT_EQ(entry.dataAsciiText(), "abc");
    file.writeAt(64, "xyz", 3);
    EXPECT_EQ(entry.loadData(file), "78 79 7A ");
    EXPECT_EQ(entry.dataAsciiText(), "xyz");
}

}  // namespace
}  // namespace tagwarden
