#include <gtest/gtest.h>

#include "core/editors/stli_text.h"
#include "core/sample/sample_tags.h"

namespace tagwarden {
namespace {

Bytes bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

TEST(StliText, CarriageReturnsEndLinesInBothViews)
{
    const Bytes data{0x41, 0x42, 0x0D, 0x43};
    EXPECT_EQ(stliLoadText(data), "AB\r\nC");
    EXPECT_EQ(stliLoadHex(data), "41 42 0D\r\n43 ");

    const StliRebuild rebuilt = rebuildStli("AB\r\nC");
    EXPECT_EQ(rebuilt.bytes, data);
    EXPECT_EQ(rebuilt.text, "AB\r\nC");
    EXPECT_EQ(rebuilt.hex, "41 42 0D \r\n43 ");
}

TEST(StliText, AFinalCarriageReturnGetsNoLineBreak)
{
    const Bytes data = bytesOf("A\rB\r");
    EXPECT_EQ(stliLoadText(data), "A\r\nB\r");
    EXPECT_EQ(stliLoadHex(data), "41 0D\r\n42 0D ");
    const StliRebuild rebuilt = rebuildStli(stliLoadText(data));
    EXPECT_EQ(rebuilt.bytes, data);
    EXPECT_EQ(rebuilt.text, "A\r\nB\r");
    EXPECT_EQ(rebuilt.hex, "41 0D \r\n42 0D ");
}

TEST(StliText, ZeroBytesShowOnlyInHexAndAreGoneAfterAnEdit)
{
    const Bytes data{'A', 0, 'B', 0};
    EXPECT_EQ(stliLoadText(data), "AB");
    EXPECT_EQ(stliLoadHex(data), "41 00 42 00 ");
    EXPECT_EQ(rebuildStli(stliLoadText(data) + "C").bytes, bytesOf("ABC"));
}

TEST(StliText, LineFeedsOfTheDataShowAndAreDroppedByAnEdit)
{
    const Bytes data = bytesOf("A\r\nB\nC");
    EXPECT_EQ(stliLoadText(data), "A\r\n\nB\nC");
    EXPECT_EQ(stliLoadHex(data), "41 0D\r\n0A 42 0A 43 ");
    EXPECT_EQ(rebuildStli(stliLoadText(data)).bytes, bytesOf("A\rBC"));
}

TEST(StliText, EnterStoresASingleCarriageReturn)
{
    // The text view inserts a carriage return and a line feed for Enter.
    const StliRebuild rebuilt = rebuildStli("Line one\r\n\r\nLine two");
    EXPECT_EQ(rebuilt.bytes, bytesOf("Line one\r\rLine two"));
    EXPECT_EQ(rebuilt.text, "Line one\r\n\r\nLine two");
}

TEST(StliText, EmptyDataGivesEmptyViews)
{
    EXPECT_EQ(stliLoadText({}), "");
    EXPECT_EQ(stliLoadHex({}), "");
    const StliRebuild rebuilt = rebuildStli("");
    EXPECT_TRUE(rebuilt.bytes.empty());
    EXPECT_EQ(rebuilt.hex, "");
}

TEST(StliText, EveryByteButZeroAndLineFeedSurvivesTheRebuild)
{
    Bytes data;
    for (int b = 1; b < 256; ++b)
        if (b != '\n')
            data.push_back(static_cast<std::uint8_t>(b));
    data.push_back('\r');
    const StliRebuild rebuilt = rebuildStli(stliLoadText(data));
    EXPECT_EQ(rebuilt.bytes, data);
    EXPECT_EQ(rebuildStli(rebuilt.text).text, rebuilt.text);  // a second rebuild changes nothing
}

TEST(StliText, SampleListsKeepTheirLines)
{
    const Bytes data = sampleStliData({"First", "", "Third"});
    EXPECT_EQ(stliLoadText(data), "First\r\n\r\nThird\r");
    EXPECT_EQ(rebuildStli(stliLoadText(data)).bytes, data);
}

TEST(StliText, AnEditDropsEveryZeroByteAndLineFeedAndSaysHowMany)
{
    const struct {
        Bytes data;
        StliDrops drops;
        const char* text;
    } cases[] = {
        {{'A', 0, '\r', '\n', 'B', 0}, {2, 1}, "2 zero bytes and 1 line feed"},
        {{0, 'A'}, {1, 0}, "1 zero byte"},
        {{'\n', '\n', '\n'}, {0, 3}, "3 line feeds"},
        {{'A', '\r', 'B'}, {0, 0}, "0 line feeds"},
    };
    for (const auto& c : cases) {
        const StliDrops drops = stliEditDrops(c.data);
        EXPECT_EQ(drops, c.drops) << c.text;
        EXPECT_EQ(drops.any(), c.drops.zeroBytes + c.drops.lineFeeds > 0) << c.text;
        EXPECT_EQ(dropsText(drops), c.text);
        // What the edit keeps is all but those bytes.
        EXPECT_EQ(rebuildStli(stliLoadText(c.data)).bytes.size(), c.data.size() - drops.zeroBytes - drops.lineFeeds);
    }
}

TEST(StliText, LinesOfATextFileAreTheStringsEachEndedByACarriageReturn)
{
    const struct {
        Bytes data;
        std::string lines;
    } cases[] = {
        {bytesOf("AB\rC\rD"), "AB\nC\nD"},
        {bytesOf("A\r\r"), "A\n\n"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stliLines(c.data), c.lines);
        EXPECT_EQ(stliFromLines(c.lines), c.data) << c.lines;
    }
    // What the text cannot hold: zero bytes show as nothing, a line feed reads back as a line end.
    EXPECT_EQ(stliLines(Bytes{'A', 0, '\n', 'B'}), "A\nB");
    EXPECT_EQ(stliFromLines("A\r\nB\rC\n\r\n"), bytesOf("A\rB\rC\r\r"));
}

}  // namespace
}  // namespace tagwarden
