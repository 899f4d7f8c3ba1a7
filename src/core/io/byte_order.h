#pragma once

#include <cstdint>

namespace tagwarden {

// All numbers in tag files are big-endian.
[[nodiscard]] inline std::uint32_t readBigEndian32(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

[[nodiscard]] inline std::uint64_t readBigEndian64(const std::uint8_t* bytes)
{
    return std::uint64_t{readBigEndian32(bytes)} << 32 | readBigEndian32(bytes + 4);
}

[[nodiscard]] inline std::uint16_t readBigEndian16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

inline void writeBigEndian32(std::uint8_t* bytes, std::uint32_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value >> 24);
    bytes[1] = static_cast<std::uint8_t>(value >> 16);
    bytes[2] = static_cast<std::uint8_t>(value >> 8);
    bytes[3] = static_cast<std::uint8_t>(value);
}

inline void writeBigEndian16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value >> 8);
    bytes[1] = static_cast<std::uint8_t>(value);
}

}  // namespace tagwarden
