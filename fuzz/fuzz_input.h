#pragma once

// The fuzz input as a file: an anonymous in-memory file that the product reads
// through the same File class (and a path) as a file on disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace tagwarden::fuzz {

class InputFile {
public:
    explicit InputFile(const char* name) : fd_(memfd_create(name, MFD_CLOEXEC))
    {
        if (fd_ < 0)
            std::abort();
    }

    // Replaces the file's whole content with the input.
    void store(const std::uint8_t* data, std::size_t size) const
    {
        if (ftruncate(fd_, 0) != 0 || (size > 0 && pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            std::abort();
    }

    [[nodiscard]] int descriptor() const { return fd_; }
    [[nodiscard]] std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

}  // namespace tagwarden::fuzz
