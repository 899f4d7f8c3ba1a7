#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tagwarden {

// One step that turns the first sequence into the second: an element of the
// first removed, or one of the second added, at its 0-based position there.
struct SequenceEdit {
    enum class Step { Remove, Add };
    Step step;
    std::size_t position;

    bool operator==(const SequenceEdit&) const = default;
};

// The removals and additions of a shortest edit, in order, removals of a changed
// run before its additions. Beyond `maxCells` pairs to weigh (the middle left once
// common starts and ends are set aside), the middle is removed and added whole.
[[nodiscard]] std::vector<SequenceEdit> sequenceEdits(const std::vector<std::string>& before,
                                                      const std::vector<std::string>& after,
                                                      std::size_t maxCells = 4'000'000);

}  // namespace tagwarden
