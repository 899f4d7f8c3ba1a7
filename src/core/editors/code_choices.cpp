#include "core/editors/code_choices.h"

#include "core/tags/tag_text.h"

namespace tagwarden {

std::vector<std::string> codeChoices(std::string_view ids, std::string_view current)
{
    constexpr std::size_t kCodeWidth = 4;
    std::vector<std::string> choices;
    if (ids.size() % kCodeWidth != 0)
        return choices;
    const std::uint32_t currentKey = codeKey(current);
    for (std::size_t at = 0; at < ids.size(); at += kCodeWidth) {
        const std::string_view piece = ids.substr(at, kCodeWidth);
        if (codeKey(piece) != currentKey)
            choices.emplace_back(piece);
    }
    return choices;
}

}  // namespace tagwarden
