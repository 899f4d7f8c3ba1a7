#pragma once

// What the fuzz targets share: stopping on a broken rule, lending an input to a
// class that owns the byte source it opens, and a folder for real files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/io/byte_source.h"
#include "support/forwarding_bytes.h"

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
using LentBytes = test::ForwardingBytes;

// The input as a plug-in of `type`: its type field set, so that the fuzzer
// explores past the editor's type check.
inline std::vector<std::uint8_t> typedInput(const std::uint8_t* data, std::size_t size, const char (&type)[5])
{
    std::vector<std::uint8_t> input(data, data + size);
    if (input.size() >= 36)
        std::memcpy(input.data() + 32, type, 4);
    return input;
}

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
