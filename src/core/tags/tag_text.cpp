#include "core/tags/tag_text.h"

namespace tagwarden {

std::string_view upToNul(std::string_view field)
{
    const auto end = field.find('\0');
    return end == std::string_view::npos ? field : field.substr(0, end);
}

std::uint32_t codeKey(std::string_view code)
{
    std::uint8_t bytes[4] = {};
    for (std::size_t i = 0; i < code.size() && i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(code[i]);
    return codeKey(bytes);
}

std::string editedText(const std::string& stored, const std::string& text)
{
    return text == upToNul(stored) ? stored : text;
}

bool fitsCode(std::string_view text) { return upToNul(text).size() <= 4; }

}  // namespace tagwarden
