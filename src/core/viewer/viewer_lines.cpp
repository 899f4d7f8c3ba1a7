#include "core/viewer/viewer_lines.h"

#include <algorithm>
#include <cstdio>

#include "core/tags/hex.h"

namespace tagwarden {

namespace {

constexpr std::size_t kHexBytesPerLine = 32;
constexpr std::size_t kCharacterBytesPerLine = 20;
constexpr std::size_t kTabUntil = 70;
constexpr std::size_t kColumnsPerTab = 6;

std::string paddedAddress(std::uint64_t address)
{
    std::string digits = std::to_string(address);
    if (digits.size() < 10)
        digits.insert(0, 10 - digits.size(), '0');
    return digits;
}

// Up to `count` characters of `text` from `position`; none once it has ended.
std::string_view piece(std::string_view text, std::size_t position, std::size_t count)
{
    return position < text.size() ? text.substr(position, count) : std::string_view{};
}

// The address and the line's hex, three characters a byte, in two halves.
std::string hexLine(std::string_view address, std::string_view hex, std::size_t bytesPerLine)
{
    const std::size_t half = 3 * bytesPerLine / 2;
    std::string line(address);
    line += ": ";
    line += piece(hex, 0, half);
    line += "  ";
    line += piece(hex, half, half);
    return line;
}

void appendCharacterColumn(std::string& line, std::string_view characters)
{
    if (line.size() < kTabUntil)
        line.append((kTabUntil - line.size()) / kColumnsPerTab, '\t');
    line += "   ";
    line += characters;
}

std::string characterText(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes)
        text += (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
    return text;
}

}  // namespace

ViewerLayout viewerLayoutFor(int asciiSetting)
{
    return asciiSetting == 1 ? ViewerLayout::Character : ViewerLayout::Hex;
}

std::vector<std::string> viewerLines(std::string_view hexText, std::string_view characterText,
                                     std::uint64_t startAddress, ViewerLayout layout)
{
    const std::size_t bytesPerLine = viewerBytesPerLine(layout);
    const std::size_t span = 3 * bytesPerLine;

    std::vector<std::string> lines;
    for (std::size_t k = 0, p = 0; p + 1 < hexText.size(); ++k, p += span) {
        std::string line = hexLine(paddedAddress(startAddress + p / 3), piece(hexText, p, span), bytesPerLine);
        if (layout == ViewerLayout::Character)
            appendCharacterColumn(line, piece(characterText, k * bytesPerLine, bytesPerLine));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string viewerLine(std::span<const std::uint8_t> data, std::size_t lineIndex, std::uint64_t startAddress,
                       ViewerLayout layout, bool tagOffset)
{
    const std::size_t bytesPerLine = viewerBytesPerLine(layout);
    const std::size_t first = lineIndex * bytesPerLine;
    if (first >= data.size())
        return {};
    const std::span<const std::uint8_t> bytes = data.subspan(first, std::min(bytesPerLine, data.size() - first));
    std::string address = paddedAddress(startAddress + first);
    if (tagOffset) {
        char offset[24];
        std::snprintf(offset, sizeof offset, " +0x%08zX", first);
        address += offset;
    }
    std::string line = hexLine(address, hexDump(bytes.data(), bytes.size()), bytesPerLine);
    if (layout != ViewerLayout::Character)
        return line;
    if (tagOffset)
        line.resize(address.size() + 2 + 3 * bytesPerLine + 2, ' ');
    appendCharacterColumn(line, characterText(bytes));
    return line;
}

std::size_t viewerBytesPerLine(ViewerLayout layout)
{
    return layout == ViewerLayout::Character ? kCharacterBytesPerLine : kHexBytesPerLine;
}

std::size_t viewerLineCount(std::size_t byteCount, ViewerLayout layout)
{
    const std::size_t perLine = viewerBytesPerLine(layout);
    return (byteCount + perLine - 1) / perLine;
}

}  // namespace tagwarden
