// The string-list editor's text on arbitrary data: the views made at load time
// and the rebuild after an edit. Whatever the bytes, the rebuild keeps every byte
// but zero bytes and line feeds in order, a second rebuild changes nothing, and
// the hex views hold exactly their digits, blanks and line breaks.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/editors/stli_text.h"
#include "fuzz_support.h"

namespace {

using namespace tagwarden;
using Bytes = std::vector<std::uint8_t>;

using fuzz::check;

// Carriage returns that end a line: all but a final one.
std::size_t lineEnds(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return 0;
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end() - 1, '\r'));
}

Bytes without(std::span<const std::uint8_t> bytes, bool zeros)
{
    Bytes kept;
    for (const std::uint8_t b : bytes)
        if (b != '\n' && (b != 0 || !zeros))
            kept.push_back(b);
    return kept;
}

void checkRebuild(const StliRebuild& rebuilt)
{
    const std::size_t ends = lineEnds(rebuilt.bytes);
    check(rebuilt.text.size() == rebuilt.bytes.size() + ends, "rebuilt text length");
    check(rebuilt.hex.size() == 3 * rebuilt.bytes.size() + 2 * ends, "rebuilt hex length");
    const StliRebuild again = rebuildStli(rebuilt.text);
    check(again.bytes == rebuilt.bytes && again.text == rebuilt.text && again.hex == rebuilt.hex,
          "a second rebuild changed something");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);

    // As loaded: the text drops zero bytes, both views break after line-ending carriage returns.
    const std::string text = stliLoadText(bytes);
    const std::size_t zeros = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), 0));
    check(text.size() == size - zeros + lineEnds(bytes), "load text length");
    check(stliLoadHex(bytes).size() == 3 * size + lineEnds(bytes), "load hex length");

    // Rebuilt from the load text without an edit, and from the input taken as typed text.
    const StliRebuild loaded = rebuildStli(text);
    check(loaded.bytes == without(bytes, true), "rebuild of the load text lost or changed a byte");
    checkRebuild(loaded);
    const StliRebuild typed = rebuildStli(std::string(bytes.begin(), bytes.end()));
    check(typed.bytes == without(bytes, false), "rebuild of typed text lost or changed a byte");
    checkRebuild(typed);
    return 0;
}
