#pragma once

#include <cstdint>

#include "core/mesh/record_bytes.h"

namespace tagwarden {

// The map header's numbers (signed, big-endian; 16-bit ones are sign-extended).
enum class MeshNumber {
    width,           // blocks of 16 cells
    height,
    typesBase,       // where the writer lays out the item-type table, in the data area
    meshOffset,      // start of the data area, from the start of the tag data
    dataEnd,         // end of the last section, in the data area
    typeCount,
    typeOffset,
    typeLength,
    itemCount,
    itemOffset,
    itemLength,
    playerFlags,     // bit 0: single player
    gameTypes,       // bits 0..10: the multiplayer game types, bit 11: none
    maxTeams,
    section1Offset,
    section1Length,
    section2Offset,
    section2Length,
    section3Offset,
    section3Length,
};

// The map header's codes, ids of other tags.
enum class MeshCode {
    mapGraphic,
    primaryWater,
    lighting,
    secondaryWater,
    particles,
    ambientSound,
    mapStringList,
    postScreen,
    preScreen,
    overheadMap,
    nextLevel,
    objectives,
    narrationText,
    windEffects,
    captionsStringList,
    narrationSound,
};

// The 1024-byte header at the start of a map's tag data. Bytes without a name
// are carried through untouched.
class MeshHeader {
public:
    static constexpr std::size_t kSize = 1024;

    [[nodiscard]] std::int32_t number(MeshNumber field) const;
    void setNumber(MeshNumber field, std::int32_t value);
    [[nodiscard]] Code code(MeshCode field) const;
    void setCode(MeshCode field, const Code& code);

    [[nodiscard]] auto& bytes() { return record_.bytes(); }
    [[nodiscard]] const auto& bytes() const { return record_.bytes(); }

private:
    RecordBytes<kSize> record_;
};

}  // namespace tagwarden
