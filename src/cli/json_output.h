#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <vector>
#include <string>
#include <string_view>

namespace tagwarden {
class TagDirectory;
class TagEntry;
}  // namespace tagwarden

namespace tagwarden::cli {

// Output of --json: key order as written, strings as UTF-8.
using Json = nlohmann::ordered_json;

// A tag text as JSON carries it: the bytes up to the first NUL, each byte the
// character of the same code (Latin-1), so that every byte survives unescaped.
[[nodiscard]] std::string latin1Text(std::string_view field);

// One line of `list`: index, type, id, start, length, name.
[[nodiscard]] Json listEntryJson(const TagEntry& entry, std::size_t index);
// The fields of `header`, numbers as numbers, the raw hex texts as texts.
[[nodiscard]] Json headerJson(const TagEntry& entry, std::size_t index);
// The index of ids by type, for the groups at these positions.
[[nodiscard]] Json dumpMapJson(const TagDirectory& directory, const std::vector<std::size_t>& groups);

}  // namespace tagwarden::cli
