#include <gtest/gtest.h>

#include "core/io/file.h"
#include "core/tags/hex.h"
#include "core/tags/tag_entry.h"
#include "support/temp_dir.h"

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

}  // namespace
}  // namespace tagwarden
