#include "core/compare/sequence_diff.h"

#include <algorithm>
#include <cstdint>

namespace tagwarden {

namespace {

using Step = SequenceEdit::Step;

void addRun(std::vector<SequenceEdit>& edits, Step step, std::size_t from, std::size_t to)
{
    for (std::size_t position = from; position < to; ++position)
        edits.push_back({step, position});
}

}  // namespace

std::vector<SequenceEdit> sequenceEdits(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                        std::size_t maxCells)
{
    std::size_t first = 0;
    while (first < before.size() && first < after.size() && before[first] == after[first])
        ++first;
    std::size_t endBefore = before.size();
    std::size_t endAfter = after.size();
    while (endBefore > first && endAfter > first && before[endBefore - 1] == after[endAfter - 1]) {
        --endBefore;
        --endAfter;
    }
    const std::size_t rows = endBefore - first;
    const std::size_t columns = endAfter - first;
    std::vector<SequenceEdit> edits;
    if (rows == 0 || columns == 0 || rows > maxCells / columns) {
        addRun(edits, Step::Remove, first, endBefore);
        addRun(edits, Step::Add, first, endAfter);
        return edits;
    }
    // common[i][j]: the longest common subsequence of the middles from i and j on.
    const std::size_t width = columns + 1;
    std::vector<std::uint32_t> common((rows + 1) * width, 0);
    for (std::size_t i = rows; i-- > 0;)
        for (std::size_t j = columns; j-- > 0;)
            common[i * width + j] = before[first + i] == after[first + j]
                                        ? common[(i + 1) * width + j + 1] + 1
                                        : std::max(common[(i + 1) * width + j], common[i * width + j + 1]);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < rows || j < columns) {
        if (i < rows && j < columns && before[first + i] == after[first + j]) {
            ++i;
            ++j;
        } else if (j == columns || (i < rows && common[(i + 1) * width + j] >= common[i * width + j + 1])) {
            edits.push_back({Step::Remove, first + i++});
        } else {
            edits.push_back({Step::Add, first + j++});
        }
    }
    return edits;
}

}  // namespace tagwarden
