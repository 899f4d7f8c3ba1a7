#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/tags/hex.h"
#include "core/tags/tag_entry.h"
#include "core/viewer/data_search.h"
#include "core/viewer/tag_data.h"
#include "core/viewer/viewer_lines.h"

namespace tagwarden {
namespace {

Bytes countingBytes(std::size_t count)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

std::vector<std::string> hexLines(const Bytes& bytes, std::uint64_t start)
{
    return viewerLines(hexDump(bytes.data(), bytes.size()), "", start, ViewerLayout::Hex);
}

std::vector<std::string> characterLines(const Bytes& bytes, const std::string& characters, std::uint64_t start)
{
    return viewerLines(hexDump(bytes.data(), bytes.size()), characters, start, ViewerLayout::Character);
}

// Where each character of `line` lands when tabs jump to the given stops.
int columnAfter(const std::string& line, std::size_t upTo)
{
    int column = 0;
    for (std::size_t i = 0; i < upTo; ++i) {
        if (line[i] != '\t') {
            ++column;
            continue;
        }
        for (int stop : kCharacterLayoutTabStops)
            if (stop > column) {
                column = stop;
                break;
            }
    }
    return column;
}

TEST(ViewerLines, ThreeBytesShowTheirAddressGroupsAndCharacters)
{
    const Bytes bytes{0x41, 0x42, 0x0A};
    EXPECT_EQ(hexLines(bytes, 1000), std::vector<std::string>{"0000001000: 41 42 0A   "});
    EXPECT_EQ(characterLines(bytes, "AB.", 1000), std::vector<std::string>{"0000001000: 41 42 0A   \t\t\t\t\t\t\t   AB."});
}

TEST(ViewerLines, HexLayoutHas32BytesALineInTwoHalves)
{
    const auto one = hexLines(countingBytes(32), 0);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].size(), 110u);
    EXPECT_EQ(one[0].substr(0, 12), "0000000000: ");
    // The blank after the sixteenth group and the two blanks between the halves.
    EXPECT_EQ(one[0].substr(12 + 47, 4), "   " + hexByte(16 * 7 + 3).substr(0, 1));
    EXPECT_EQ(one[0].back(), ' ');

    const auto two = hexLines(countingBytes(33), 1000);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].substr(0, 12), "0000001000: ");
    EXPECT_EQ(two[1], "0000001032: " + hexByte(32 * 7 + 3) + "   ");
}

TEST(ViewerLines, CharacterLayoutHas20BytesAndTheirCharacters)
{
    const std::string characters = "abcdefghijklmnopqrstUVWXY";
    const auto lines = characterLines(countingBytes(25), characters, 64);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 97u);
    EXPECT_EQ(lines[0].find('\t'), std::string::npos);
    EXPECT_EQ(lines[0].substr(0, 12), "0000000064: ");
    EXPECT_EQ(lines[0].substr(74), "   abcdefghijklmnopqrst");
    EXPECT_EQ(lines[1].substr(0, 12), "0000000084: ");
    EXPECT_TRUE(lines[1].ends_with("   UVWXY"));
}

TEST(ViewerLines, NothingLoadedGivesNoLines)
{
    EXPECT_TRUE(viewerLines("", "", 64, ViewerLayout::Hex).empty());
    EXPECT_TRUE(viewerLines("", "", 64, ViewerLayout::Character).empty());
}

TEST(ViewerLines, AddressesAreFileOffsetsThatNeverWrap)
{
    const auto lines = hexLines(countingBytes(64), 0xFFFFFFF0u);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 12), "4294967280: ");
    EXPECT_EQ(lines[1].substr(0, 12), "4294967312: ");
}

TEST(ViewerLines, OnlyAnAsciiSettingOfOneGivesTheCharacterLayout)
{
    EXPECT_EQ(viewerLayoutFor(1), ViewerLayout::Character);
    EXPECT_EQ(viewerLayoutFor(0), ViewerLayout::Hex);
    EXPECT_EQ(viewerLayoutFor(2), ViewerLayout::Hex);
    EXPECT_EQ(viewerLayoutFor(-1), ViewerLayout::Hex);
}

TEST(ViewerLines, TabStopsLineUpTheCharacterColumnOfEveryTabbedLine)
{
    // A last line of 1 to 16 bytes carries tabs; its characters must start where
    // those of a full line do.
    const Bytes bytes = countingBytes(40);
    const std::string characters(40, 'x');
    const std::size_t fullColumn = characterLines(bytes, characters, 0)[0].find("   x") + 3;
    for (std::size_t lastLineBytes = 1; lastLineBytes <= 16; ++lastLineBytes) {
        const Bytes part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(20 + lastLineBytes));
        const std::string line = characterLines(part, characters, 0).at(1);
        ASSERT_NE(line.find('\t'), std::string::npos) << lastLineBytes;
        EXPECT_EQ(columnAfter(line, line.find("   x") + 3), static_cast<int>(fullColumn)) << lastLineBytes;
    }
}

TEST(ViewerLines, A5000ByteTagShows64HexLinesOr103CharacterLines)
{
    const Bytes data = countingBytes(5000);
    const MemoryBytes file(buildArchive({{"Big", "mons", "abcd", 0, data}}));
    const TagEntry entry(makeHeader({"Big", "mons", "abcd", 0, data}, 64), 0);

    TagData loaded;
    const std::string hexText = loaded.load(file, entry);
    EXPECT_EQ(entry.lengthText(), "00001388");
    const auto hex = viewerLines(hexText, "", entry.startAddress(), ViewerLayout::Hex);
    ASSERT_EQ(hex.size(), 64u);
    for (const std::string& line : hex)
        EXPECT_EQ(line.size(), 110u);
    EXPECT_EQ(hex.back().substr(0, 12), "0000002080: ");  // 64 + 63 * 32

    const auto characters = viewerLines(hexText, loaded.asciiText(), entry.startAddress(), ViewerLayout::Character);
    ASSERT_EQ(characters.size(), 103u);
    for (std::size_t k = 0; k + 1 < characters.size(); ++k)
        EXPECT_EQ(characters[k].size(), 97u);
    EXPECT_EQ(characters.back().substr(0, 12), "0000002104: ");  // 64 + 102 * 20, the last 8 bytes
}

TEST(ViewerLines, EachLineMadeAloneIsTheListedLineOrAddsItsOffsetWithinTheTag)
{
    const Bytes data = countingBytes(5000);
    const MemoryBytes file(buildArchive({{"Big", "mons", "abcd", 0, data}}));
    const TagEntry entry(makeHeader({"Big", "mons", "abcd", 0, data}, 64), 0);
    TagData whole;
    whole.loadWhole(file, entry);
    ASSERT_EQ(whole.bytes(), data);
    const Bytes first(data.begin(), data.begin() + 2048);
    for (const ViewerLayout layout : {ViewerLayout::Hex, ViewerLayout::Character}) {
        TagData shown;
        const std::string hexText = shown.load(file, entry);
        const auto listed = viewerLines(hexText, shown.asciiText(), 64, layout);
        ASSERT_EQ(listed.size(), viewerLineCount(first.size(), layout));
        for (std::size_t k = 0; k < listed.size(); ++k)
            EXPECT_EQ(viewerLine(first, k, 64, layout), listed[k]);
    }
    EXPECT_EQ(viewerLineCount(data.size(), ViewerLayout::Hex), 157u);
    EXPECT_EQ(viewerLine(data, 156, 64, ViewerLayout::Hex, true).substr(0, 24), "0000005056 +0x00001380: ");
    // Blanks, not tabs, put a short line's characters under those of a full one.
    const std::string full = viewerLine(first, 0, 64, ViewerLayout::Character, true);
    const std::string last = viewerLine(first, 102, 64, ViewerLayout::Character, true);  // 8 bytes
    EXPECT_EQ(last.find('\t'), std::string::npos);
    EXPECT_EQ(last.size() - 8, full.size() - 20);
    EXPECT_EQ(viewerLine(data, 250, 64, ViewerLayout::Hex), "");
}

TEST(DataSearch, TypedPatternsAndOffsets)
{
    const struct {
        std::string typed;
        Bytes pattern;
    } patterns[] = {{"4A 00 ff", {0x4A, 0x00, 0xFF}}, {"4a00FF", {0x4A, 0x00, 0xFF}}, {"\"AB\"", {'A', 'B'}},
                    {"Archer", {'A', 'r', 'c', 'h', 'e', 'r'}}, {"ABC", {'A', 'B', 'C'}}, {"", {}}};
    for (const auto& row : patterns)
        EXPECT_EQ(searchPattern(row.typed), row.pattern) << row.typed;
    const struct {
        std::string typed;
        std::optional<std::uint64_t> offset;
    } offsets[] = {{"0x1A0", 416}, {" 416 ", 416}, {"0X10", 16}, {"1A0", std::nullopt}, {"", std::nullopt},
                   {"0x", std::nullopt}, {"-1", std::nullopt}, {"99999999999999999999", std::nullopt}};
    for (const auto& row : offsets)
        EXPECT_EQ(typedOffset(row.typed), row.offset) << row.typed;
}

TEST(DataSearch, FindsTheNextPlaceAndWrapsRound)
{
    const Bytes data{1, 2, 3, 1, 2, 3, 9};
    const Bytes pattern{1, 2};
    EXPECT_EQ(findNext(data, pattern, std::nullopt), 0u);
    EXPECT_EQ(findNext(data, pattern, 0), 3u);
    EXPECT_EQ(findNext(data, pattern, 3), 0u);  // round again from the start
    EXPECT_EQ(findNext(data, Bytes{3, 9}, 5), 5u);
    EXPECT_EQ(findNext(data, Bytes{9, 1}, std::nullopt), std::nullopt);
    EXPECT_EQ(findNext(data, Bytes{}, std::nullopt), std::nullopt);
    EXPECT_EQ(findNext(Bytes{1}, Bytes{1, 2}, std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace tagwarden
