#include <gtest/gtest.h>

#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/tags/hex.h"
#include "core/tags/tag_entry.h"
#include "core/tags/tag_text.h"

namespace tagwarden {
namespace {

TEST(Hex, ByteIsTwoUppercaseDigitsHighHalfFirst)
{
    EXPECT_EQ(hexByte(0x0A), "0A");
    EXPECT_EQ(hexByte(0xFF), "FF");
    EXPECT_EQ(hexByte(0x00), "00");
}

TEST(Hex, ValueIsBigEndianWrapsAndIgnoresOtherCharacters)
{
    EXPECT_EQ(hexValue("0001A2B0"), 107184u);
    EXPECT_EQ(hexValue("FFFFFFFF"), 4294967295u);
    EXPECT_EQ(hexValue("1FFFFFFFF"), 0xFFFFFFFFu);  // wraps at 32 bits
    EXPECT_EQ(hexValue("1g"), 16u);                  // lowercase and others count as 0
    EXPECT_EQ(hexValue(""), 0u);
}

// A header with every byte set apart, so that a field read from the wrong place shows.
TagHeaderBytes distinctHeader()
{
    TagHeaderBytes header{};
    for (std::size_t i = 0; i < header.size(); ++i)
        header[i] = static_cast<std::uint8_t>(0x80 + i);
    const char text[] = "Swamp Lord\0tail";  // the name ends at the NUL
    std::copy(text, text + 15, header.begin());
    std::copy_n("monsabcd", 8, header.begin() + 32);
    std::copy_n("vorn", 4, header.begin() + 60);
    return header;
}

std::string hexOf(const TagHeaderBytes& header, std::size_t from, std::size_t count)
{
    std::string text;
    for (std::size_t i = from; i < from + count; ++i)
        text += hexByte(header[i]);
    return text;
}

TEST(TagEntry, ReadFromDecodesEveryFieldAtItsPlace)
{
    const TagHeaderBytes header = distinctHeader();
    Bytes file(10, 0xEE);  // the header does not start at 0
    file.insert(file.end(), header.begin(), header.end());
    const MemoryBytes archive(file);

    TagEntry entry;
    ASSERT_TRUE(entry.readFrom(archive, 10));
    EXPECT_EQ(entry.headerPosition(), 10u);
    EXPECT_EQ(entry.name(), "Swamp Lord");
    EXPECT_EQ(entry.type(), "mons");
    EXPECT_EQ(entry.id(), "abcd");
    EXPECT_EQ(entry.reserved1Text(), hexOf(header, 40, 7));
    EXPECT_EQ(entry.number(), header[47]);
    EXPECT_EQ(entry.startAddressText(), hexOf(header, 48, 4));
    EXPECT_EQ(entry.lengthText(), hexOf(header, 52, 4));
    EXPECT_EQ(entry.reserved2Text(), hexOf(header, 56, 4));
    EXPECT_EQ(entry.signature(), "vorn");
    EXPECT_EQ(entry.startAddress(), hexValue(entry.startAddressText()));
    EXPECT_EQ(entry.dataLength(), hexValue(entry.lengthText()));
    EXPECT_EQ(entry.listLine(), "abcd : Swamp Lord");

    std::string dump;
    for (std::uint8_t byte : header)
        dump += hexByte(byte) + " ";
    EXPECT_EQ(entry.dumpText(), dump);
    EXPECT_EQ(entry.dumpText().size(), 192u);
}

TEST(TagEntry, NumbersAreUnsignedBigEndian)
{
    TagHeaderBytes header{};
    const std::uint8_t start[] = {0x00, 0x01, 0xA2, 0xB0};
    std::copy_n(start, 4, header.begin() + 48);
    std::fill_n(header.begin() + 52, 4, 0xFF);
    header[47] = 0xFF;
    const TagEntry entry(header, 0);
    EXPECT_EQ(entry.startAddressText(), "0001A2B0");
    EXPECT_EQ(entry.startAddress(), 107184u);
    EXPECT_EQ(entry.lengthText(), "FFFFFFFF");
    EXPECT_EQ(entry.dataLength(), 4294967295u);
    EXPECT_EQ(entry.number(), 255);
}

TEST(TagEntry, NameOfThirtyTwoCharactersStopsBeforeTheType)
{
    SampleTag tag{std::string(32, 'N'), "mons", "abcd", 0, {}};
    const TagEntry entry(makeHeader(tag, 64), 0);
    EXPECT_EQ(entry.name(), std::string(32, 'N'));
}

TEST(TagEntry, CodesKeepTheirFourBytesAndCompareUpToTheFirstNul)
{
    TagHeaderBytes first{};
    TagHeaderBytes second{};
    std::copy_n("ab\0x", 4, first.begin() + 32);
    std::copy_n("ab\0y", 4, second.begin() + 32);
    std::copy_n("i\0d1", 4, first.begin() + 36);
    std::copy_n("i\0d2", 4, second.begin() + 36);
    const TagEntry a(first, 0), b(second, 64);
    EXPECT_EQ(a.type(), std::string("ab\0x", 4));
    EXPECT_EQ(a.typeKey(), b.typeKey());
    EXPECT_EQ(a.idKey(), b.idKey());
    EXPECT_EQ(a.typeKey(), codeKey("ab"));
    EXPECT_NE(a.typeKey(), codeKey("abx"));
    EXPECT_EQ(a.listLine(), "i : ");
}

TEST(TagEntry, ShortReadAnswersFalse)
{
    const TagHeaderBytes header = distinctHeader();
    const MemoryBytes file(Bytes(header.begin(), header.begin() + 63));
    TagEntry entry;
    EXPECT_FALSE(entry.readFrom(file, 0));
}

TEST(ArchiveFile, SingleTagSignatureAndDirectoryOffset)
{
    Bytes plugIn = buildPlugIn({"one", "mons", "abcd", 0, Bytes(8, 1)});
    const MemoryBytes single(plugIn);
    EXPECT_TRUE(isSingleTagFile(single));

    Bytes archive = buildArchive({{"one", "mons", "abcd", 0, Bytes(8, 1)}});
    const MemoryBytes notSingle(archive);
    EXPECT_FALSE(isSingleTagFile(notSingle));
    EXPECT_EQ(directoryOffset(notSingle), 64u + 8u);

    Bytes almost(plugIn.begin(), plugIn.begin() + 63);  // "vor" only: too short to be one tag
    const MemoryBytes tooShort(almost);
    EXPECT_FALSE(isSingleTagFile(tooShort));

    const MemoryBytes noOffset(Bytes(archive.begin(), archive.begin() + 43));
    EXPECT_EQ(directoryOffset(noOffset), std::nullopt);
    const MemoryBytes justOffset(Bytes(archive.begin(), archive.begin() + 44));
    EXPECT_EQ(directoryOffset(justOffset), 72u);
}

TEST(TagText, UpToNulAndCodeFit)
{
    EXPECT_EQ(upToNul(std::string_view("ab\0cd", 5)), "ab");
    EXPECT_EQ(upToNul("abcd"), "abcd");
    EXPECT_TRUE(fitsCode("mons"));
    EXPECT_TRUE(fitsCode(std::string_view("mo\0\0xyz", 7)));
    EXPECT_FALSE(fitsCode("monsters"));
}

}  // namespace
}  // namespace tagwarden
