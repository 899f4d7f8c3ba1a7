#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tagwarden {

// Two uppercase hex digits, high half first: 0x0A gives "0A".
[[nodiscard]] std::string hexByte(std::uint8_t byte);
// Appends the two digits of `byte` to `out` (the hot path of long dumps).
void appendHexByte(std::string& out, std::uint8_t byte);
// Every byte as two hex digits followed by one blank: "4A 00 FF ".
[[nodiscard]] std::string hexDump(const std::uint8_t* bytes, std::size_t count);
// The value of a text of hex digits; other characters count as 0, arithmetic wraps at 32 bits.
[[nodiscard]] std::uint32_t hexValue(std::string_view text);

}  // namespace tagwarden
