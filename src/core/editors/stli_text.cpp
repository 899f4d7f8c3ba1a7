#include "core/editors/stli_text.h"

#include <algorithm>

#include "core/tags/hex.h"

namespace tagwarden {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

// Whether the byte at `i` is a carriage return that ends a line (not the last byte).
bool endsLine(std::span<const std::uint8_t> bytes, std::size_t i)
{
    return bytes[i] == kCarriageReturn && i + 1 < bytes.size();
}

std::string textOf(std::span<const std::uint8_t> bytes, bool skipZeros)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != 0 || !skipZeros)
            text += static_cast<char>(bytes[i]);
        if (endsLine(bytes, i))
            text += kLineFeed;
    }
    return text;
}

// Every byte as two hex digits; a line break after the digits of a line-ending
// carriage return, or after their blank when `blankBeforeBreak`.
std::string hexOf(std::span<const std::uint8_t> bytes, bool blankBeforeBreak)
{
    std::string hex;
    hex.reserve(3 * bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        appendHexByte(hex, bytes[i]);
        const bool lineEnd = endsLine(bytes, i);
        if (!lineEnd || blankBeforeBreak)
            hex += ' ';
        if (lineEnd)
            hex += "\r\n";
    }
    return hex;
}

std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string stliLoadText(std::span<const std::uint8_t> data) { return textOf(data, true); }

std::string stliLoadHex(std::span<const std::uint8_t> data) { return hexOf(data, false); }

StliRebuild rebuildStli(std::string_view editedText)
{
    StliRebuild result;
    result.bytes.reserve(editedText.size());
    for (const char c : editedText)
        if (c != kLineFeed)
            result.bytes.push_back(static_cast<std::uint8_t>(c));
    result.text = textOf(result.bytes, false);
    result.hex = hexOf(result.bytes, true);
    return result;
}

StliDrops stliEditDrops(std::span<const std::uint8_t> data)
{
    return {static_cast<std::size_t>(std::count(data.begin(), data.end(), 0)),
            static_cast<std::size_t>(std::count(data.begin(), data.end(), kLineFeed))};
}

std::string dropsText(const StliDrops& drops)
{
    const std::string zeros = counted(drops.zeroBytes, "zero byte", "zero bytes");
    const std::string feeds = counted(drops.lineFeeds, "line feed", "line feeds");
    if (drops.zeroBytes == 0)
        return feeds;
    return drops.lineFeeds == 0 ? zeros : zeros + " and " + feeds;
}

std::string stliDropsMessage(const StliDrops& drops)
{
    return "Saving this edit drops " + dropsText(drops) + " that the list held.";
}

std::string stliLines(std::span<const std::uint8_t> data)
{
    std::string text;
    text.reserve(data.size());
    for (const std::uint8_t byte : data)
        if (byte != 0)
            text += byte == kCarriageReturn ? kLineFeed : static_cast<char>(byte);
    return text;
}

std::vector<std::uint8_t> stliFromLines(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kCarriageReturn && i + 1 < text.size() && text[i + 1] == kLineFeed)
            ++i;
        bytes.push_back(c == kLineFeed ? static_cast<std::uint8_t>(kCarriageReturn) : static_cast<std::uint8_t>(c));
    }
    return bytes;
}

}  // namespace tagwarden
