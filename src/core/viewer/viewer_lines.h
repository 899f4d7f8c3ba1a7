#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tagwarden {

// The data viewer's two layouts: 32 bytes of hex per line, or 20 bytes of hex
// followed by a column of their characters.
enum class ViewerLayout { Hex, Character };

// The layout the "ASCII" setting asks for: exactly 1 means the character layout.
[[nodiscard]] ViewerLayout viewerLayoutFor(int asciiSetting);

// The viewer's list lines for `hexText` (three characters per byte, as TagData
// gives it). Each line starts with the decimal file offset of its first byte,
// zero-padded to ten digits, then ": " and the two halves of its hex groups
// separated by two blanks. In the character layout, a line shorter than 70
// characters gets (70 - length) / 6 tabs, then three blanks and its 20
// characters of `characterText`.
[[nodiscard]] std::vector<std::string> viewerLines(std::string_view hexText, std::string_view characterText,
                                                   std::uint64_t startAddress, ViewerLayout layout);

// Line `lineIndex` of `data`, the very line viewerLines makes of its hex and
// character texts. With `tagOffset`, the offset of the line's first byte within
// the tag follows the address ("0000000163 +0x00000040: "), and in the character
// layout blanks instead of tabs put the characters under those of full lines.
[[nodiscard]] std::string viewerLine(std::span<const std::uint8_t> data, std::size_t lineIndex,
                                     std::uint64_t startAddress, ViewerLayout layout, bool tagOffset = false);
// How many bytes one line shows, and how many lines `byteCount` bytes take.
[[nodiscard]] std::size_t viewerBytesPerLine(ViewerLayout layout);
[[nodiscard]] std::size_t viewerLineCount(std::size_t byteCount, ViewerLayout layout);

// Character columns of the tab stops that put the character column of every
// tabbed line at column 74, where a full line's hex ends. A line is k * 3 + 17
// characters long; (70 - length) / 6 tabs from there reach exactly column 74 when
// the stops are 6 apart up to 59 and then at 74.
inline constexpr std::array<int, 8> kCharacterLayoutTabStops{23, 29, 35, 41, 47, 53, 59, 74};

}  // namespace tagwarden
