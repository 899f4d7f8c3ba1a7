#pragma once

#include <string>
#include <vector>

namespace tagwarden {
class ByteSource;
}

namespace tagwarden::test {

// Reads any file as the browser does (directory, progress, mapping, every text of
// every entry, its data, the "Dump Map" text, clearing) and checks what must hold
// for every input, good or bad. Answers the broken rules; empty when all held.
// Shared by the archive fuzzer and the replay of its crash inputs.
[[nodiscard]] std::vector<std::string> probeArchive(const ByteSource& source);

}  // namespace tagwarden::test
