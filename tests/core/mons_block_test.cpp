#include <gtest/gtest.h>

#include <cstring>

#include "core/editors/mons_block.h"
#include "core/sample/sample_tags.h"

namespace tagwarden {
namespace {

MonsBlock decode(const Bytes& data) { return MonsBlock::decode(MonsBlock::ConstData(data.data(), MonsBlock::kSize)); }

Bytes encoded(const MonsBlock& block, Bytes data)
{
    block.encodeInto(MonsBlock::Data(data.data(), MonsBlock::kSize));
    return data;
}

// A block of made-up bytes in which every value the editor knows is set apart.
Bytes knownBlock()
{
    Bytes data(MonsBlock::kSize);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 13 + 5);
    std::memcpy(data.data() + 4, "cor1", 4);
    std::memcpy(data.data() + 144, "obj1", 4);
    std::memcpy(data.data() + 156, "pj\0x", 4);
    std::memcpy(data.data() + 188, "\xFF\xFF\xFF\xFF", 4);
    std::memcpy(data.data() + 292, "pg\xE9\x80", 4);
    data[129] = 40;
    data[137] = 200;
    data[139] = 0;
    data[154] = 0x3A;
    data[160] = 1;
    data[162] = 250;
    data[169] = 0x01;
    data[170] = 0xA2;
    data[171] = 0xFF;
    data[177] = 33;
    data[183] = 0x0B;
    data[192] = 2;
    data[194] = 3;
    data[201] = 0x00;
    data[202] = 0x10;
    data[203] = 0x0D;
    data[207] = 44;
    data[280] = 0x01;
    data[281] = 0x2C;
    data[296] = 120;
    return data;
}

TEST(MonsBlock, DecodesEveryKnownField)
{
    Bytes data = knownBlock();
    data[2] = 19;
    data[127] = 0xCC;
    const MonsBlock block = decode(data);
    EXPECT_TRUE(block.stoneFlag);
    EXPECT_EQ(block.modeByte, 19);
    EXPECT_TRUE(block.healFlag);
    EXPECT_EQ(block.coreCode, "cor1");
    EXPECT_EQ(block.objeCode, "obj1");
    EXPECT_EQ(block.primaryProjCode, std::string("pj\0x", 4));
    EXPECT_EQ(block.secondaryProjCode, "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(block.prgrCode, "pg\xE9\x80");
    EXPECT_EQ(block.ammo, 40);
    EXPECT_EQ(block.turnRate, 200);
    EXPECT_EQ(block.walkRate, 0);
    EXPECT_EQ(block.primaryMinRange, 1);
    EXPECT_EQ(block.primaryMaxRange, 250);
    EXPECT_EQ(block.secondaryMinRange, 2);
    EXPECT_EQ(block.secondaryMaxRange, 3);
    EXPECT_EQ(block.primaryRecoverTime, 33);
    EXPECT_EQ(block.secondaryRecoverTime, 44);
    EXPECT_EQ(block.spriteScale, 300);
    EXPECT_EQ(block.health, 120);
    EXPECT_EQ(block.primaryAttackDefn, "3A");
    EXPECT_EQ(block.secondaryAttackDefn, "0B");
    EXPECT_EQ(block.primaryBallistics, "01 A2 FF");
    EXPECT_EQ(block.secondaryBallistics, "00 10 0D");
}

TEST(MonsBlock, TerrainIsAllowedUnless0xFFAndSavedAs0x0AOr0xFF)
{
    Bytes data = knownBlock();
    for (std::size_t i = 0; i < MonsBlock::kTerrainCount; ++i)
        data[72 + i] = i % 3 == 0 ? 0xFF : static_cast<std::uint8_t>(i);  // 0x01, 0x02, ... count as allowed
    MonsBlock block = decode(data);
    for (std::size_t i = 0; i < MonsBlock::kTerrainCount; ++i)
        EXPECT_EQ(block.terrain[i], i % 3 != 0) << "terrain byte " << 72 + i;

    block.terrain[0] = true;   // 0xFF -> 0x0A
    block.terrain[1] = false;  // 0x01 -> 0xFF
    const Bytes saved = encoded(block, data);
    for (std::size_t i = 0; i < MonsBlock::kTerrainCount; ++i)
        EXPECT_EQ(saved[72 + i], block.terrain[i] ? 0x0A : 0xFF) << "terrain byte " << 72 + i;
    EXPECT_EQ(saved[71], data[71]);
    EXPECT_EQ(saved[86], data[86]);
}

TEST(MonsBlock, EncodingOnlyTheChangesLeavesBytesTheFormWouldRewrite)
{
    Bytes data = knownBlock();
    data[72] = 0x01;  // allowed, though the form would save 0x0A
    data[73] = 0x02;
    const MonsBlock original = decode(data);
    MonsBlock changed = original;
    changed.health = 7;
    changed.terrain[1] = false;
    changed.terrain[2] = !original.terrain[2];

    Bytes saved = data;
    changed.encodeChangesInto(MonsBlock::Data(saved.data(), MonsBlock::kSize), original);
    Bytes wanted = data;
    wanted[296] = 7;
    wanted[73] = 0xFF;
    wanted[74] = changed.terrain[2] ? 0x0A : 0xFF;
    EXPECT_EQ(saved, wanted);
}

TEST(MonsBlock, TurnToStoneByteFollowsItsThreeWayRule)
{
    struct Case {
        std::uint8_t read;
        bool checked;
        std::uint8_t saved;
    };
    for (const Case c : {Case{19, true, 19}, Case{19, false, 0}, Case{5, false, 5}, Case{5, true, 19},
                         Case{0, false, 0}}) {
        Bytes data = knownBlock();
        data[2] = c.read;
        MonsBlock block = decode(data);
        EXPECT_EQ(block.stoneFlag, c.read == 19);
        block.stoneFlag = c.checked;
        EXPECT_EQ(encoded(block, data)[2], c.saved) << "read " << int{c.read} << ", checked " << c.checked;
    }
}

TEST(MonsBlock, NumbersKeepTheirLowBitsAndSpriteScaleIsBigEndian)
{
    const Bytes data = knownBlock();
    MonsBlock block = decode(data);
    block.turnRate = 300;  // 0x12C
    block.health = 255;
    block.spriteScale = 65535 + 301;  // wraps to 300
    block.secondaryMaxRange = 0;
    const Bytes saved = encoded(block, data);
    EXPECT_EQ(saved[137], 0x2C);
    EXPECT_EQ(saved[296], 255);
    EXPECT_EQ(saved[280], 0x01);
    EXPECT_EQ(saved[281], 0x2C);
    EXPECT_EQ(saved[194], 0);
}

TEST(MonsBlock, HealChoiceAndShownOnlyFieldsAreNeverWritten)
{
    Bytes data = knownBlock();
    data[127] = 0xCC;
    MonsBlock block = decode(data);
    block.healFlag = false;
    block.primaryAttackDefn = "99";
    block.primaryBallistics = "99 99 99";
    const Bytes saved = encoded(block, data);
    EXPECT_EQ(saved[127], 0xCC);
    EXPECT_EQ(saved[154], data[154]);
    EXPECT_EQ(Bytes(saved.begin() + 169, saved.begin() + 172), Bytes(data.begin() + 169, data.begin() + 172));
}

TEST(MonsBlock, AnEditedCodeIsStoredAsFourBytesAndAnUnchangedOneKeepsItsBytes)
{
    const struct {
        std::string stored;
        std::string text;
        std::string saved;
    } cases[] = {
        {"wxyz", "ab", std::string("ab\0\0", 4)},         // not "abyz", which may name nothing
        {"cor1", "cor1", "cor1"},
        {std::string("pj\0x", 4), "pj", std::string("pj\0x", 4)},  // as shown: the zero and the x survive
        {"obj1", "longer than four", "long"},
        {"pg\xE9\x80", "", std::string(4, '\0')},
        {"\xFF\xFF\xFF\xFF", "\xFF\xFF\xFF\xFF", "\xFF\xFF\xFF\xFF"},
    };
    const Bytes data = knownBlock();
    for (const auto& c : cases) {
        MonsBlock block = decode(data);
        block.coreCode = MonsBlock::editedCode(c.stored, c.text);
        const Bytes saved = encoded(block, data);
        EXPECT_EQ(std::string(saved.begin() + 4, saved.begin() + 8), c.saved) << c.text;
        EXPECT_EQ(saved[8], data[8]);
    }
}

TEST(MonsBlock, DecodeThenEncodeGivesBackTheSameBytes)
{
    for (unsigned seed = 0; seed < 12; ++seed) {
        const Bytes data = sampleMonsBlock(seed);
        EXPECT_EQ(encoded(decode(data), data), data) << "seed " << seed;
        // Encoding over other bytes changes only the bytes the editor knows.
        const Bytes other(MonsBlock::kSize, 0x77);
        const Bytes mixed = encoded(decode(data), other);
        for (std::size_t i : {0u, 3u, 8u, 86u, 126u, 127u, 128u, 154u, 170u, 183u, 300u, 511u})
            EXPECT_EQ(mixed[i], 0x77) << "byte " << i;
    }
}

}  // namespace
}  // namespace tagwarden
