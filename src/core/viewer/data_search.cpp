#include "core/viewer/data_search.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <string>

namespace tagwarden {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::vector<std::uint8_t>> hexBytes(std::string_view text)
{
    std::string digits;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(digits.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        std::from_chars(digits.data() + 2 * i, digits.data() + 2 * i + 2, bytes[i], 16);
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> searchPattern(std::string_view typed)
{
    const std::string_view text = trimmed(typed);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return {text.begin() + 1, text.end() - 1};
    if (auto bytes = hexBytes(text))
        return std::move(*bytes);
    return {typed.begin(), typed.end()};
}

std::optional<std::size_t> findNext(std::span<const std::uint8_t> data, std::span<const std::uint8_t> pattern,
                                    std::optional<std::size_t> after)
{
    if (pattern.empty() || pattern.size() > data.size())
        return std::nullopt;
    const std::size_t from = after ? std::min(*after + 1, data.size()) : 0;
    const auto place = [&](auto first, auto last) {
        return std::search(first, last, std::boyer_moore_horspool_searcher(pattern.begin(), pattern.end()));
    };
    if (const auto found = place(data.begin() + static_cast<std::ptrdiff_t>(from), data.end()); found != data.end())
        return static_cast<std::size_t>(found - data.begin());
    // Round again from the start, as far as a match could still begin before `from`.
    const std::size_t wrapEnd = std::min(data.size(), from + pattern.size() - 1);
    const auto wrapLast = data.begin() + static_cast<std::ptrdiff_t>(wrapEnd);
    if (const auto found = place(data.begin(), wrapLast); found != wrapLast)
        return static_cast<std::size_t>(found - data.begin());
    return std::nullopt;
}

std::optional<std::uint64_t> typedOffset(std::string_view typed)
{
    std::string_view text = trimmed(typed);
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace tagwarden
