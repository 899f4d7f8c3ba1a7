// The archive reader on arbitrary bytes: header decoding, the directory with its
// progress, the mapping, every entry's texts and data, and the "Dump Map" text.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/archive_probe.h"

namespace {

// The input lives in an anonymous in-memory file, read through the same File
// class (and path) as an archive on disk.
int inputFile()
{
    static const int fd = memfd_create("archive_fuzzer", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    return fd;
}

void store(const std::uint8_t* data, std::size_t size)
{
    const int fd = inputFile();
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    store(data, size);
    const auto problems = tagwarden::test::probeArchive("/proc/self/fd/" + std::to_string(inputFile()));
    for (const std::string& problem : problems)
        std::fprintf(stderr, "archive_fuzzer: %s\n", problem.c_str());
    if (!problems.empty())
        std::abort();
    return 0;
}
