#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/sample/archive_builder.h"

namespace tagwarden {

// Made-up content in the shapes the game uses; nothing here comes from the game.

// A 512-byte unit block whose codes point at the given core/obje/proj/prgr ids.
[[nodiscard]] Bytes sampleMonsBlock(unsigned seed);
// String-list data: the lines, each ended by a carriage return.
[[nodiscard]] Bytes sampleStliData(const std::vector<std::string>& lines);

struct MeshLayout {
    int width = 2;   // blocks of 16 cells
    int height = 2;
    int itemTypes = 5;
    int items = 7;
    std::size_t section1 = 60000;  // larger than the map editor's 51200-byte buffer
    std::size_t section2 = 300;
    std::size_t section3 = 1000;
};
// Map data laid out back to back as the map writer writes it.
[[nodiscard]] Bytes sampleMeshData(const MeshLayout& layout);

// The sample archive's tags: several types, a few hundred entries, duplicate ids.
[[nodiscard]] std::vector<SampleTag> sampleArchiveTags();
// `count` small tags over a dozen types, for benchmarks and stress tests.
[[nodiscard]] std::vector<SampleTag> syntheticTags(std::size_t count);

// Writes DIR/tags.gor and DIR/local/{mons,stli,mesh}/ plug-ins; creates DIR when
// missing. Refuses (FileError, already exists) a DIR that exists and is not an
// empty folder; each file is created whole, where no name was.
void writeSampleDirectory(const std::string& dir);

}  // namespace tagwarden
