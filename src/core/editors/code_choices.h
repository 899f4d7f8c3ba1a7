#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tagwarden {

// The ids a code list offers besides its current value: `ids` cut into 4-byte
// pieces (the main window's ids of one type), leaving out the current value
// (compared up to a zero byte). Nothing when `ids` is not made of whole pieces.
[[nodiscard]] std::vector<std::string> codeChoices(std::string_view ids, std::string_view current);

}  // namespace tagwarden
