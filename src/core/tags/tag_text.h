#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/io/byte_order.h"

namespace tagwarden {

// Text fields of tags are fixed-width and zero-padded: they end at their first NUL.
[[nodiscard]] std::string_view upToNul(std::string_view field);
// What a header text field holding `stored` holds once edited to `text`: the stored
// bytes (those after a NUL included) while the text still reads as them.
[[nodiscard]] std::string editedText(const std::string& stored, const std::string& text);

// A four-byte code (type or id) as a number that ignores everything from its first
// NUL on, so that codes which agree up to a NUL compare equal. Inline: mapping a
// directory takes two per entry.
[[nodiscard]] inline std::uint32_t codeKey(const std::uint8_t* code)
{
    const std::uint32_t bytes = readBigEndian32(code);
    if ((bytes & 0xFF000000u) == 0)
        return 0;
    if ((bytes & 0x00FF0000u) == 0)
        return bytes & 0xFF000000u;
    if ((bytes & 0x0000FF00u) == 0)
        return bytes & 0xFFFF0000u;
    return bytes;  // a last byte of zero is zero already
}
// The same for a code given as text (at most its first four bytes count).
[[nodiscard]] std::uint32_t codeKey(std::string_view code);
// Whether a text can name a four-byte code at all: at most four bytes before its
// first NUL ("monsters" names no type, although its first four bytes would).
[[nodiscard]] bool fitsCode(std::string_view text);

}  // namespace tagwarden
