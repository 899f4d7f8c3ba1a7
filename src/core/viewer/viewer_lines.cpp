#include "core/viewer/viewer_lines.h"

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

void appendCharacterColumn(std::string& line, std::string_view characterText, std::size_t lineIndex)
{
    if (line.size() < kTabUntil)
        line.append((kTabUntil - line.size()) / kColumnsPerTab, '\t');
    line += "   ";
    line += piece(characterText, lineIndex * kCharacterBytesPerLine, kCharacterBytesPerLine);
}

}  // namespace

ViewerLayout viewerLayoutFor(int asciiSetting)
{
    return asciiSetting == 1 ? ViewerLayout::Character : ViewerLayout::Hex;
}

std::vector<std::string> viewerLines(std::string_view hexText, std::string_view characterText,
                                     std::uint64_t startAddress, ViewerLayout layout)
{
    const std::size_t bytesPerLine = layout == ViewerLayout::Character ? kCharacterBytesPerLine : kHexBytesPerLine;
    const std::size_t span = 3 * bytesPerLine;
    const std::size_t half = span / 2;

    std::vector<std::string> lines;
    for (std::size_t k = 0, p = 0; p + 1 < hexText.size(); ++k, p += span) {
        std::string line = paddedAddress(startAddress + p / 3);
        line += ": ";
        line += piece(hexText, p, half);
        line += "  ";
        line += piece(hexText, p + half, half);
        if (layout == ViewerLayout::Character)
            appendCharacterColumn(line, characterText, k);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace tagwarden
