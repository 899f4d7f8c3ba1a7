#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/io/file_error.h"

namespace tagwarden {

// A binary file with the open and share modes the program relies on. Sharing is
// enforced between File objects of this process exactly, and between processes
// through advisory locks (shared for read-only opens, exclusive for the others).
// Every failure throws FileError; a short read at the end of the file is not one.
class File {
public:
    enum class Access {
        Read,       // existing file, read only
        ReadWrite,  // existing file, read and write, never truncated
        Write,      // created when missing, never truncated
    };
    enum class Share {
        None,       // nobody else may open the file
        DenyWrite,  // others may read, not write
        All,        // others may read and write
    };

    File() = default;
    File(const std::string& path, Access access, Share share);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    [[nodiscard]] bool isOpen() const { return fd_ >= 0; }
    [[nodiscard]] const std::string& path() const { return path_; }

    [[nodiscard]] std::uint64_t length() const;
    [[nodiscard]] std::uint64_t position() const { return position_; }
    void seek(std::uint64_t position) { position_ = position; }

    // Reads up to `size` bytes at the current position and moves past them;
    // answers how many arrived (fewer only at the end of the file).
    [[nodiscard]] std::size_t read(void* buffer, std::size_t size);
    // Writes all `size` bytes at the current position and moves past them.
    void write(const void* buffer, std::size_t size);

    void close();

private:
    // Admits this opener against the others of the process and locks the file
    // against other processes; answers 0 or the errno that refuses it.
    [[nodiscard]] int registerOpener(Access access, Share share);
    [[noreturn]] void fail(int error) const;
    [[noreturn]] void failOpen(int error);

    int fd_ = -1;
    std::string path_;
    std::uint64_t position_ = 0;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

}  // namespace tagwarden
