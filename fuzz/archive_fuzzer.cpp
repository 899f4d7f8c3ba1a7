// The archive reader on arbitrary bytes: header decoding, the directory with its
// progress, the mapping, every entry's texts and data, and the "Dump Map" text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/io/memory_bytes.h"
#include "support/archive_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tagwarden::MemoryBytes input(std::vector<std::uint8_t>(data, data + size));
    const auto problems = tagwarden::test::probeArchive(input);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "archive_fuzzer: %s\n", problem.c_str());
    if (!problems.empty())
        std::abort();
    return 0;
}
