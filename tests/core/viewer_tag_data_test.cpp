#include <gtest/gtest.h>

#include "core/io/byte_order.h"
#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/tags/hex.h"
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
    const TagEntry entry(makeHeader(tag, 64), 67);
    TagData data;
    EXPECT_EQ(data.asciiText(), "ERROR");

    EXPECT_EQ(data.load(file, entry), "61 62 63 ");
    EXPECT_EQ(data.asciiText(), "abc");
    file.writeAt(64, "xyz", 3);
    EXPECT_EQ(data.load(file, entry), "78 79 7A ");
    EXPECT_EQ(data.asciiText(), "xyz");
}

TEST(TagEntryData, LoadsAtMostTheCapAndOnlyWhatTheFileHolds)
{
    Bytes content(64 + 3000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i * 7);
    const MemoryBytes file(content);
    const auto entryFor = [](std::uint32_t start, std::uint32_t length) {
        TagHeaderBytes header = makeHeader({"t", "core", "abcd", 0, {}}, start);
        writeBigEndian32(header.data() + 52, length);
        return TagEntry(header, 0);
    };

    TagData big;
    EXPECT_EQ(big.asciiText(), "ERROR") << "nothing loaded yet";
    const std::string hex = big.load(file, entryFor(64, 3000));
    EXPECT_EQ(big.bytes(), Bytes(content.begin() + 64, content.begin() + 64 + TagData::kMaxBytes));
    EXPECT_EQ(hex, hexDump(content.data() + 64, TagData::kMaxBytes));

    TagData tail;
    (void)tail.load(file, entryFor(static_cast<std::uint32_t>(content.size() - 5), 100));
    EXPECT_EQ(tail.bytes(), Bytes(content.end() - 5, content.end()));

    TagData beyond;
    EXPECT_EQ(beyond.load(file, entryFor(0xFFFFFFF0u, 0xFFFFFFFFu)), "");
}

}  // namespace
}  // namespace tagwarden
