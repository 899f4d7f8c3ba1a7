#include <gtest/gtest.h>

#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_format.h"

namespace tagwarden {
namespace {

TEST(MeshCode, ConvertsBetweenCodesAndTheTextTheFormsShow)
{
    EXPECT_EQ(codeText(kNoCode), "");
    EXPECT_EQ(codeText({'a', 'b', 'c', 0}), "abc");
    EXPECT_EQ(codeText({'a', 0, 'c', 'd'}), "a");
    EXPECT_EQ(codeText({0, 0, 0, 0}), "");
    EXPECT_EQ(textCode(""), kNoCode);
    EXPECT_EQ(textCode("ab"), (Code{'a', 'b', 0, 0}));
    EXPECT_EQ(textCode("objectives"), (Code{'o', 'b', 'j', 'e'}));
    EXPECT_EQ(paddedCode(""), (Code{0, 0, 0, 0}));
    EXPECT_EQ(codeLabel({0, 0, 0, 0}), "....");
    EXPECT_EQ(codeLabel({0x1F, 0x20, 0x7E, 0x7F}), ". ~.");
    EXPECT_EQ(codeLabel(kNoCode), "....");
}

TEST(MeshCode, AFieldLeftAsShownKeepsItsFourBytes)
{
    for (const Code original : {Code{0, 0, 0, 0}, Code{0, 'x', 'y', 'z'}, kNoCode, Code{'a', 'b', 0, 7}}) {
        EXPECT_EQ(editedCode(original, codeText(original)), original);
        EXPECT_EQ(editedLabelCode(original, codeLabel(original)), original);
    }
    EXPECT_EQ(editedCode({0, 0, 0, 0}, ""), (Code{0, 0, 0, 0}));
    EXPECT_EQ(editedCode({'w', 'a', 't', '1'}, ""), kNoCode);  // cleared by the user
    EXPECT_EQ(editedCode(kNoCode, "ab"), (Code{'a', 'b', 0, 0}));
    EXPECT_EQ(editedLabelCode(kNoCode, "...."), kNoCode);
    EXPECT_EQ(editedLabelCode(kNoCode, "ms"), (Code{'m', 's', 0, 0}));
    EXPECT_EQ(editedLabelCode({'m', 's', 'a', 'a'}, ""), (Code{0, 0, 0, 0}));
}

TEST(MeshFormat, PositionsAndFacingsConvertToUnitsAndDegrees)
{
    EXPECT_EQ(positionValue(1024), 1.0f);
    EXPECT_EQ(positionValue(-512), -0.5f);
    EXPECT_EQ(facingDegrees(16384), 90.0f);
    EXPECT_EQ(facingDegrees(-16384), -90.0f);
    EXPECT_EQ(facingDegrees(-32768), -180.0f);
    EXPECT_LT(facingDegrees(32767), 180.0f);
    EXPECT_EQ(decimalText(positionValue(1024)), "1");
    EXPECT_EQ(decimalText(positionValue(-512)), "-0.5");
    EXPECT_EQ(decimalText(facingDegrees(-16384)), "-90");
    EXPECT_EQ(decimalText(positionValue(1)), "0.0009765625");
}

TEST(MeshFormat, CategoriesHaveTheirListNamesAndRadioButtons)
{
    EXPECT_EQ(categoryTypeListName(3), "Units  ");
    EXPECT_EQ(categoryItemListName(3), "Units");
    EXPECT_EQ(categoryTypeListName(0), "Camera ");
    EXPECT_EQ(categoryItemListName(10), "Special");
    EXPECT_EQ(categoryTypeListName(2), "Unknown(0002)");
    EXPECT_EQ(categoryItemListName(-1), "Unknown(FFFFFFFF)");
    EXPECT_EQ(kCategoryChoices[categoryChoiceIndex(5)].label, std::string("Ambient Sound"));
    EXPECT_EQ(kCategoryChoices[categoryChoiceIndex(2)].label, std::string("Other"));
    EXPECT_EQ(kCategoryChoices[categoryChoiceIndex(256)].label, std::string("Other"));
    EXPECT_EQ(tradingChoiceIndex(6), 1);
    EXPECT_EQ(tradingChoiceIndex(7), -1);
}

TEST(MeshFormat, ChoosingOtherStores256UnlessTheCodeWasAlreadyUnlisted)
{
    const std::size_t other = categoryChoiceIndex(256);
    EXPECT_EQ(chosenCategory(other, 3), 256);
    EXPECT_EQ(chosenCategory(other, 2), 2);  // confirmed unchanged: kept
    EXPECT_EQ(chosenCategory(categoryChoiceIndex(9), 2), 9);
}

TEST(MeshFormat, ListLinesFollowTheClassicLayouts)
{
    ItemType type;
    type.setCategory(3);
    type.setCode({'m', 's', 'a', 'a'});
    type.setTeam(-1);
    type.setReference(7);
    EXPECT_EQ(itemTypeLine(type), "Units   \tmsaa  FFFFFFFF 0007");
    type.setCategory(0);
    type.setCode({0, 0, 0, 0});
    type.setTeam(2);
    EXPECT_EQ(itemTypeLine(type), "Camera  \t....  00000002 0007");

    MeshItem item;
    item.setCategory(5);
    item.setId1(3);
    item.setReference(7);
    item.setX(-512);
    item.setY(1024);
    item.setZ(123456);
    item.setId2(100);
    item.setId3(-1);
    EXPECT_EQ(itemLine(item), "Sounds  \tID1:00000003 0007\tX:-00512 \tY:01024 \tZ:123456  \tID2:00100 ID3:-00001");
}

TEST(MeshItem, PositionIsThreeBigEndianNumbersAt16And20And24)
{
    MeshItem item;
    item.setX(0x01020304);
    item.setY(-2);
    item.setZ(0x0A0B0C0D);
    const auto& b = item.bytes();
    EXPECT_EQ((Code{b[16], b[17], b[18], b[19]}), (Code{1, 2, 3, 4}));
    EXPECT_EQ((Code{b[20], b[21], b[22], b[23]}), (Code{0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ((Code{b[24], b[25], b[26], b[27]}), (Code{0x0A, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ((Code{b[12], b[13], b[14], b[15]}), (Code{0, 0, 0, 0}));
}

}  // namespace
}  // namespace tagwarden
