#pragma once

#include <string>
#include <string_view>

#include "core/mesh/record_bytes.h"

namespace tagwarden {

inline constexpr Code kNoCode{0xFF, 0xFF, 0xFF, 0xFF};

// The code as text in stored order, ending at its first zero byte; "none" gives "".
[[nodiscard]] std::string codeText(const Code& code);
// "" gives "none"; otherwise the first four characters, zero-padded.
[[nodiscard]] Code textCode(std::string_view text);
// The first four characters of `text`, zero-padded ("" gives four zero bytes).
[[nodiscard]] Code paddedCode(std::string_view text);
// Always four characters; bytes outside 0x20..0x7E show as ".".
[[nodiscard]] std::string codeLabel(const Code& code);

// What a code field stores after editing: the original four bytes when the text
// still reads as `codeText` of them (so a code that text cannot express, such as
// one beginning with a zero byte, survives), else `textCode` of the text.
[[nodiscard]] Code editedCode(const Code& original, std::string_view text);
// The same for a field that shows `codeLabel` and stores `paddedCode`.
[[nodiscard]] Code editedLabelCode(const Code& original, std::string_view text);

}  // namespace tagwarden
