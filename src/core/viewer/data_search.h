#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tagwarden {

// What the data viewer's Find looks for: hex bytes when the text is nothing but
// pairs of hex digits ("4A 00 ff", "4a00ff"), else the text's own bytes; text in
// double quotes is always text ("\"AB\"" finds the letters A and B).
[[nodiscard]] std::vector<std::uint8_t> searchPattern(std::string_view typed);

// Where `pattern` next starts in `data`: after `after` (from the start without
// it), wrapping round to the start; nothing when it is nowhere.
[[nodiscard]] std::optional<std::size_t> findNext(std::span<const std::uint8_t> data,
                                                  std::span<const std::uint8_t> pattern,
                                                  std::optional<std::size_t> after);

// An offset as typed for Go to: "0x1A0" in hex, "416" in decimal; nothing for anything else.
[[nodiscard]] std::optional<std::uint64_t> typedOffset(std::string_view typed);

}  // namespace tagwarden
