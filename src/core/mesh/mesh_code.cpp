#include "core/mesh/mesh_code.h"

namespace tagwarden {

std::string codeText(const Code& code)
{
    if (code == kNoCode)
        return {};
    std::string text;
    for (const std::uint8_t byte : code) {
        if (byte == 0)
            break;
        text += static_cast<char>(byte);
    }
    return text;
}

Code paddedCode(std::string_view text)
{
    Code code{};
    for (std::size_t i = 0; i < code.size() && i < text.size(); ++i)
        code[i] = static_cast<std::uint8_t>(text[i]);
    return code;
}

Code textCode(std::string_view text) { return text.empty() ? kNoCode : paddedCode(text); }

std::string codeLabel(const Code& code)
{
    std::string label;
    for (const std::uint8_t byte : code)
        label += byte < 0x20 || byte >= 0x7F ? '.' : static_cast<char>(byte);
    return label;
}

Code editedCode(const Code& original, std::string_view text)
{
    return text == codeText(original) ? original : textCode(text);
}

Code editedLabelCode(const Code& original, std::string_view text)
{
    return text == codeLabel(original) ? original : paddedCode(text);
}

}  // namespace tagwarden
