#pragma once

#include <optional>
#include <string>

#include "core/io/byte_source.h"

#include "core/compare/tag_comparison.h"

namespace tagwarden {

// Two files compared: the "before" side's path, and the comparison or why there is none.
struct FileComparison {
    std::string beforePath;
    std::optional<Comparison> comparison;
    std::string problem;
};

// What the plug-in `after` changes of the plug-in `before`.
[[nodiscard]] FileComparison comparePlugIns(const std::string& before, const std::string& after);
// What the plug-in changes of the tag of its type and id in the archive of its
// tags directory (`../../tags.gor` from `local/TYPE/ID`). `held` is an archive the
// program holds open, and shares with nobody: when it is that archive, it is read.
[[nodiscard]] FileComparison compareWithArchive(const std::string& plugIn, const ByteSource* held = nullptr);

// Both read the files without keeping others (an editor holding the plug-in) from
// reading or writing them; a file that cannot be read throws FileError.

}  // namespace tagwarden
