#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tagwarden {

// Paths are UTF-8 text everywhere in this program. std::filesystem takes plain
// text in the system's code page on Windows, which loses every character outside
// it: these two cross between them in UTF-8 on every system.
[[nodiscard]] std::filesystem::path pathFromUtf8(std::string_view text);
[[nodiscard]] std::string utf8Of(const std::filesystem::path& path);

}  // namespace tagwarden
