#pragma once

#include <string>

namespace tagwarden {

// Text crosses into Windows as UTF-16 and comes back as UTF-8. Bytes that are
// not UTF-8 (a name made of a tag's own bytes) cross as Latin-1, one character
// each, so that no two names end up the same.
[[nodiscard]] std::wstring wideFrom(const std::string& text);
[[nodiscard]] std::string utf8From(const std::wstring& text);

// `path` as the system's file calls take it: UTF-16, and in its long form
// (\\?\C:\...) when it is too long for the short one.
[[nodiscard]] std::wstring systemPath(const std::string& path);

}  // namespace tagwarden
