#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tagwarden {

// Bytes that are read and written at given positions: a file on disk, or a buffer
// in memory for tests and fuzzers. The readers and writers of tag files take one,
// so they need no file system to run. Failures throw FileError naming path().
class ByteSource {
public:
    // Puts new content into the byte source it is given.
    using Write = std::function<void(ByteSource& out)>;

    virtual ~ByteSource() = default;

    [[nodiscard]] virtual std::uint64_t length() const = 0;
    // Reads up to `size` bytes at `position`; answers how many arrived (fewer only at the end).
    [[nodiscard]] virtual std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const = 0;
    // Writes all `size` bytes at `position`; past the end the source grows, zero-filled.
    virtual void writeAt(std::uint64_t position, const void* buffer, std::size_t size) = 0;
    // The name that messages give it: the file's path.
    [[nodiscard]] virtual const std::string& path() const = 0;
    // Waits until the bytes written, and the name they are found under, would
    // survive a crash or a power cut. Bytes in memory have nowhere to go.
    virtual void sync() {}
    // Replaces the whole content by what `write` puts into the byte source it is
    // given, in one step: when `write` or the replacement fails (FileError), the
    // content is as it was. Afterwards this byte source reads the new content.
    virtual void replace(const Write& write) = 0;
};

// Copies the bytes begin..end of `from` to the same place in `to`; throws FileError,
// also when `from` ends before `end`.
void copyBytes(const ByteSource& from, ByteSource& to, std::uint64_t begin, std::uint64_t end);

}  // namespace tagwarden
