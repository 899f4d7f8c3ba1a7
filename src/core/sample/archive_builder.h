#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/tags/tag_header.h"

namespace tagwarden {

// One tag to be written: header fields and the tag's data.
struct SampleTag {
    std::string name;  // up to 32 bytes, zero-padded
    std::string type;  // 4 bytes, zero-padded
    std::string id;    // 4 bytes, zero-padded
    std::uint8_t number = 0;
    std::vector<std::uint8_t> data;
};

using Bytes = std::vector<std::uint8_t>;

// A header as the game writes it: the fields above, the given start and length,
// signature "vorn", reserved bytes zero.
[[nodiscard]] TagHeaderBytes makeHeader(const SampleTag& tag, std::uint32_t start);

// An archive: a 64-byte file header whose bytes 40..43 hold the directory offset,
// every tag's data, then the directory of headers.
[[nodiscard]] Bytes buildArchive(const std::vector<SampleTag>& tags);

// A plug-in: the header (start 64) followed by the data.
[[nodiscard]] Bytes buildPlugIn(const SampleTag& tag);

// Writes `bytes` as the whole content of `path` (test fixtures and samples).
void writeBytes(const std::string& path, const Bytes& bytes);
// Creates `path` with `bytes`, written beside it first: no partial file is left
// and nothing already there (a file, a link) is replaced (AlreadyExists).
void writeNewFile(const std::string& path, const Bytes& bytes);

}  // namespace tagwarden
