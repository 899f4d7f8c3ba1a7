#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tagwarden {

// The values of a unit's 512-byte data block that the unit editor knows. Every
// other byte of the block is carried through unchanged by encodeInto.
struct MonsBlock {
    static constexpr std::size_t kSize = 512;
    static constexpr std::size_t kTerrainOffset = 72;
    static constexpr std::size_t kTerrainCount = 14;  // bytes 72..85
    static constexpr std::uint8_t kStoneMode = 19;
    static constexpr std::uint8_t kHealMark = 0xCC;
    static constexpr std::uint8_t kTerrainAllowed = 0x0A;
    static constexpr std::uint8_t kTerrainBarred = 0xFF;

    using Data = std::span<std::uint8_t, kSize>;
    using ConstData = std::span<const std::uint8_t, kSize>;

    // Byte 2 as read: encoding keeps a mode other than "turn to stone" as it was.
    std::uint8_t modeByte = 0;
    bool stoneFlag = false;
    bool healFlag = false;  // read only: the heal choice is never written
    // Terrain flags in byte order: Shallow, Medium, Deep, Any/Submerge, Sloped,
    // Steep, Grass, Sand, Rocky, Marsh, Snow, Forrest, Mountains/Hover, Fly.
    std::array<bool, kTerrainCount> terrain{};

    // Four-byte codes of other tags as raw bytes; a shorter one is written padded
    // with zero bytes.
    std::string coreCode;
    std::string objeCode;
    std::string primaryProjCode;
    std::string secondaryProjCode;
    std::string prgrCode;

    int ammo = 0;
    int turnRate = 0;
    int walkRate = 0;
    int health = 0;
    int spriteScale = 0;
    int primaryMinRange = 0;
    int primaryMaxRange = 0;
    int secondaryMinRange = 0;
    int secondaryMaxRange = 0;
    // Shown, never taken from the form: written back as read.
    int primaryRecoverTime = 0;
    int secondaryRecoverTime = 0;

    // Shown only: "3A" and "01 02 03" forms of bytes 154, 183, 169..171, 201..203.
    std::string primaryAttackDefn;
    std::string secondaryAttackDefn;
    std::string primaryBallistics;
    std::string secondaryBallistics;

    [[nodiscard]] static MonsBlock decode(ConstData data);
    // The code that a code field holding `text` stores over the code `stored`: the
    // stored bytes while the text is still theirs as shown (up to a zero byte), or
    // else the text's first four characters padded with zero bytes.
    [[nodiscard]] static std::string editedCode(const std::string& stored, const std::string& text);
    // Writes the known values into `data`; numbers keep their low 8 (Sprite Scale: 16) bits.
    void encodeInto(Data data) const;
    // Writes only the bytes whose encoding differs from that of `original` (the
    // block as decoded from `data`): a scripted change leaves every byte of the
    // fields it does not change as it was, a terrain byte of 0x01 included.
    void encodeChangesInto(Data data, const MonsBlock& original) const;

    bool operator==(const MonsBlock&) const = default;
};

}  // namespace tagwarden
