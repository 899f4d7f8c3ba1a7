#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/io/native_file.h"

namespace tagwarden {

// Part of a file mapped read-only into memory. Another program may shorten the
// file under it: the pages past the new end then read zeros instead of ending
// the process, and intactBytes() tells how much of it is still the file's.
class FileMapping {
public:
    // Nothing when the system cannot map the file; it can still be read.
    [[nodiscard]] static std::unique_ptr<FileMapping> map(native::Handle handle, std::uint64_t position,
                                                          std::size_t size);
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    [[nodiscard]] const std::uint8_t* data() const { return mapping_.data; }
    [[nodiscard]] std::size_t size() const { return mapping_.size; }
    // Reads the bytes [begin, end) once, so that a cut under them shows in intactBytes().
    void touch(std::size_t begin, std::size_t end) const;
    // How many bytes from the start never read zeros for a cut: size() unless the
    // file was shortened under them.
    [[nodiscard]] std::size_t intactBytes() const { return native::intactBytes(mapping_); }

private:
    explicit FileMapping(const native::Mapping& mapping) : mapping_(mapping) {}

    native::Mapping mapping_;
};

}  // namespace tagwarden
