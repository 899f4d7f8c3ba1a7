#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/compared_tag.h"

namespace tagwarden {

// One difference between two tags. `what` names it: a form's key ("health"), a
// record ("item 3", counted from 1 in the tag that holds it), a string's number,
// or a byte range ("bytes 0x40-0x43", offsets within the data; "header 0x28" for
// header bytes). Values are raw tag bytes or already text (numbers, hex).
struct Difference {
    enum class Change { Changed, Removed, Added };
    std::string what;
    Change change = Change::Changed;
    std::string before;  // empty when added
    std::string after;   // empty when removed

    bool operator==(const Difference&) const = default;
};

// How two tags were compared: through the unit form, as string lists, through
// the map form, or byte by byte (another type, different types, or a tag the
// form cannot read).
enum class ComparisonKind { Unit, StringList, Map, Bytes };

struct Comparison {
    ComparisonKind kind = ComparisonKind::Bytes;
    std::vector<Difference> differences;

    [[nodiscard]] bool equal() const { return differences.empty(); }
};

// What changes `before` into `after`; a tag's start address never counts.
[[nodiscard]] Comparison compareTags(const ComparedTag& before, const ComparedTag& after);

// "unit", "string list", "map", "bytes".
[[nodiscard]] const char* comparisonKindName(ComparisonKind kind);
// "changed", "removed", "added".
[[nodiscard]] const char* changeName(Difference::Change change);

// How a tag text shows in a line (the command line escapes it; the program shows it up to its NUL).
using ShownText = std::function<std::string(std::string_view)>;
// One line: "health: 44 -> 120", "- item 3: ...", "+ item 4: ...", and for a string
// list "-old string" / "+new string".
[[nodiscard]] std::string differenceLine(const Difference& difference, ComparisonKind kind, const ShownText& shown);

// The limit of bytes a byte range shows of each side; more are counted, not shown.
inline constexpr std::size_t kShownRangeBytes = 16;

}  // namespace tagwarden
