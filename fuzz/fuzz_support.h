#pragma once

// What the fuzz targets share: stopping on a broken rule, lending an input to a
// class that owns the byte source it opens, and a folder for real files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/io/byte_source.h"

namespace tagwarden::fuzz {

// A rule that must hold for any input; a broken one stops the run, so that
// libFuzzer keeps the input.
inline void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// An editor owns the plug-in it opens; this one only lends it the input, which
// stays with the fuzzer to be checked after the editor let go of it.
class LentBytes : public ByteSource {
public:
    explicit LentBytes(ByteSource& bytes) : bytes_(bytes) {}
    [[nodiscard]] std::uint64_t length() const override { return bytes_.length(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override
    {
        return bytes_.readAt(position, buffer, size);
    }
    void writeAt(std::uint64_t position, const void* buffer, std::size_t size) override
    {
        bytes_.writeAt(position, buffer, size);
    }
    [[nodiscard]] const std::string& path() const override { return bytes_.path(); }
    void replace(const Write& write) override { bytes_.replace(write); }

private:
    ByteSource& bytes_;
};

// A folder of the fuzzer's own for files it must really write, made once per
// process and removed at exit. In memory where the system has such a folder: a
// disk makes every sync slow.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
    {
        const bool memory = std::filesystem::is_directory("/dev/shm");
        std::string pattern = (memory ? "/dev/shm/" : "/tmp/") + name + ".XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tagwarden::fuzz
