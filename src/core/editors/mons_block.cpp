#include "core/editors/mons_block.h"

#include <algorithm>

#include "core/io/byte_order.h"
#include "core/tags/hex.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

// Where each value lives in the block.
namespace at {
constexpr std::size_t kMode = 2;
constexpr std::size_t kCoreCode = 4;
constexpr std::size_t kHeal = 127;
constexpr std::size_t kAmmo = 129;
constexpr std::size_t kTurnRate = 137;
constexpr std::size_t kWalkRate = 139;
constexpr std::size_t kObjeCode = 144;
constexpr std::size_t kPrimaryAttackDefn = 154;
constexpr std::size_t kPrimaryProjCode = 156;
constexpr std::size_t kPrimaryMinRange = 160;
constexpr std::size_t kPrimaryMaxRange = 162;
constexpr std::size_t kPrimaryBallistics = 169;
constexpr std::size_t kPrimaryRecoverTime = 177;
constexpr std::size_t kSecondaryAttackDefn = 183;
constexpr std::size_t kSecondaryProjCode = 188;
constexpr std::size_t kSecondaryMinRange = 192;
constexpr std::size_t kSecondaryMaxRange = 194;
constexpr std::size_t kSecondaryBallistics = 201;
constexpr std::size_t kSecondaryRecoverTime = 207;
constexpr std::size_t kSpriteScale = 280;
constexpr std::size_t kPrgrCode = 292;
constexpr std::size_t kHealth = 296;
}  // namespace at

constexpr std::size_t kCodeWidth = 4;
constexpr std::size_t kBallisticsWidth = 3;

std::string codeAt(MonsBlock::ConstData data, std::size_t offset)
{
    return {data.begin() + static_cast<std::ptrdiff_t>(offset),
            data.begin() + static_cast<std::ptrdiff_t>(offset + kCodeWidth)};
}

// "01 02 03": hex pairs separated by single blanks.
std::string hexPairs(MonsBlock::ConstData data, std::size_t offset, std::size_t count)
{
    std::string text = hexDump(data.data() + offset, count);
    text.pop_back();  // the dump's blank after the last byte
    return text;
}

std::string padded(const std::string& code)
{
    std::string bytes = code.substr(0, kCodeWidth);
    bytes.resize(kCodeWidth, '\0');
    return bytes;
}

void putCode(MonsBlock::Data data, std::size_t offset, const std::string& code)
{
    const std::string bytes = padded(code);
    std::copy_n(bytes.begin(), kCodeWidth, data.begin() + static_cast<std::ptrdiff_t>(offset));
}

void putByte(MonsBlock::Data data, std::size_t offset, int value) { data[offset] = static_cast<std::uint8_t>(value); }

std::uint8_t encodedMode(const MonsBlock& block)
{
    if (block.stoneFlag)
        return MonsBlock::kStoneMode;
    return block.modeByte == MonsBlock::kStoneMode ? 0 : block.modeByte;
}

}  // namespace

MonsBlock MonsBlock::decode(ConstData data)
{
    MonsBlock block;
    block.modeByte = data[at::kMode];
    block.stoneFlag = block.modeByte == kStoneMode;
    for (std::size_t i = 0; i < kTerrainCount; ++i)
        block.terrain[i] = data[kTerrainOffset + i] != kTerrainBarred;
    block.healFlag = data[at::kHeal] == kHealMark;

    block.coreCode = codeAt(data, at::kCoreCode);
    block.objeCode = codeAt(data, at::kObjeCode);
    block.primaryProjCode = codeAt(data, at::kPrimaryProjCode);
    block.secondaryProjCode = codeAt(data, at::kSecondaryProjCode);
    block.prgrCode = codeAt(data, at::kPrgrCode);

    block.ammo = data[at::kAmmo];
    block.turnRate = data[at::kTurnRate];
    block.walkRate = data[at::kWalkRate];
    block.health = data[at::kHealth];
    block.spriteScale = readBigEndian16(data.data() + at::kSpriteScale);
    block.primaryMinRange = data[at::kPrimaryMinRange];
    block.primaryMaxRange = data[at::kPrimaryMaxRange];
    block.secondaryMinRange = data[at::kSecondaryMinRange];
    block.secondaryMaxRange = data[at::kSecondaryMaxRange];
    block.primaryRecoverTime = data[at::kPrimaryRecoverTime];
    block.secondaryRecoverTime = data[at::kSecondaryRecoverTime];

    block.primaryAttackDefn = hexByte(data[at::kPrimaryAttackDefn]);
    block.secondaryAttackDefn = hexByte(data[at::kSecondaryAttackDefn]);
    block.primaryBallistics = hexPairs(data, at::kPrimaryBallistics, kBallisticsWidth);
    block.secondaryBallistics = hexPairs(data, at::kSecondaryBallistics, kBallisticsWidth);
    return block;
}

std::string MonsBlock::editedCode(const std::string& stored, const std::string& text)
{
    return text == upToNul(stored) ? stored : padded(text);
}

void MonsBlock::encodeInto(Data data) const
{
    data[at::kMode] = encodedMode(*this);
    for (std::size_t i = 0; i < kTerrainCount; ++i)
        data[kTerrainOffset + i] = terrain[i] ? kTerrainAllowed : kTerrainBarred;

    putByte(data, at::kAmmo, ammo);
    putByte(data, at::kTurnRate, turnRate);
    putByte(data, at::kWalkRate, walkRate);
    putByte(data, at::kPrimaryMinRange, primaryMinRange);
    putByte(data, at::kPrimaryMaxRange, primaryMaxRange);
    putByte(data, at::kSecondaryMinRange, secondaryMinRange);
    putByte(data, at::kSecondaryMaxRange, secondaryMaxRange);
    putByte(data, at::kHealth, health);
    putByte(data, at::kPrimaryRecoverTime, primaryRecoverTime);
    putByte(data, at::kSecondaryRecoverTime, secondaryRecoverTime);
    writeBigEndian16(data.data() + at::kSpriteScale, static_cast<std::uint16_t>(spriteScale));

    putCode(data, at::kCoreCode, coreCode);
    putCode(data, at::kObjeCode, objeCode);
    putCode(data, at::kPrimaryProjCode, primaryProjCode);
    putCode(data, at::kSecondaryProjCode, secondaryProjCode);
    putCode(data, at::kPrgrCode, prgrCode);
}

void MonsBlock::encodeChangesInto(Data data, const MonsBlock& original) const
{
    std::array<std::uint8_t, kSize> mine{};
    std::copy(data.begin(), data.end(), mine.begin());
    std::array<std::uint8_t, kSize> theirs = mine;
    encodeInto(mine);
    original.encodeInto(theirs);
    for (std::size_t i = 0; i < kSize; ++i)
        if (mine[i] != theirs[i])
            data[i] = mine[i];
}

}  // namespace tagwarden
