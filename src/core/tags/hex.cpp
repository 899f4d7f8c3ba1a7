#include "core/tags/hex.h"

namespace tagwarden {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";

std::uint32_t digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint32_t>(c - 'A' + 10);
    return 0;
}
}  // namespace

void appendHexByte(std::string& out, std::uint8_t byte)
{
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

std::string hexByte(std::uint8_t byte)
{
    std::string text;
    appendHexByte(text, byte);
    return text;
}

std::string hexDump(const std::uint8_t* bytes, std::size_t count)
{
    // Filled in place rather than appended to: a viewer's 2,048 bytes a time.
    std::string text(3 * count, ' ');
    for (std::size_t i = 0; i < count; ++i) {
        text[3 * i] = kDigits[bytes[i] >> 4];
        text[3 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::uint32_t hexValue(std::string_view text)
{
    std::uint32_t value = 0;
    for (char c : text)
        value = value * 16u + digitValue(c);
    return value;
}

}  // namespace tagwarden
