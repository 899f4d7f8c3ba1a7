// The archive reader on arbitrary bytes: header decoding, the directory with its
// progress, the mapping, every entry's texts and data, and the "Dump Map" text.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "support/archive_probe.h"

namespace {

const tagwarden::fuzz::InputFile input("archive_fuzzer");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    input.store(data, size);
    const auto problems = tagwarden::test::probeArchive(input.path());
    for (const std::string& problem : problems)
        std::fprintf(stderr, "archive_fuzzer: %s\n", problem.c_str());
    if (!problems.empty())
        std::abort();
    return 0;
}
