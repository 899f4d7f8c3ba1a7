#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/mesh/mesh_header.h"

namespace tagwarden {

// The fields of the map form, shared by the form and the command-line tool so
// that both show the same labels in the same order. `name` is the form's widget
// name, `key` the stable name scripts use.

struct MeshCodeRow {
    const char* label;
    const char* name;
    const char* key;
    MeshCode code;
    int maxLength = 4;  // 0: no limit (only the first four characters are stored)
};

// The lower box's left column, top to bottom.
inline constexpr MeshCodeRow kMeshLeftCodes[] = {
    {"Map (Graphic)", "mapGraphic", "map_graphic", MeshCode::mapGraphic},
    {"Post Screen", "postScreen", "post_screen", MeshCode::postScreen},
    {"PreScreen", "preScreen", "pre_screen", MeshCode::preScreen},
    {"Overhead Map", "overheadMap", "overhead_map", MeshCode::overheadMap},
    {"Ambient Sound", "ambientSound", "ambient_sound", MeshCode::ambientSound},
    {"Water Tag (Pri)", "primaryWater", "primary_water", MeshCode::primaryWater},
    {"Water Tag (Sec)", "secondaryWater", "secondary_water", MeshCode::secondaryWater},
    {"Lighting", "lighting", "lighting", MeshCode::lighting},
    {"Particle Tag", "particles", "particles", MeshCode::particles},
    {"Wind Effects", "windEffects", "wind_effects", MeshCode::windEffects},
};

// The right column: these codes, then the numbers, then "Next Level".
inline constexpr MeshCodeRow kMeshRightCodes[] = {
    {"Map STLI", "mapStringList", "map_stli", MeshCode::mapStringList},
    {"Objectives", "objectives", "objectives", MeshCode::objectives, 0},
    {"Narration Text", "narrationText", "narration_text", MeshCode::narrationText},
    {"Captions STLI", "captionsStringList", "captions_stli", MeshCode::captionsStringList},
    {"Narration Sound", "narrationSound", "narration_sound", MeshCode::narrationSound},
};

struct MeshNumberRow {
    const char* label;
    const char* name;
    const char* key;
    MeshNumber field;
};

// Shown only: the cell grid and the data area are written as read.
inline constexpr MeshNumberRow kMeshShownNumbers[] = {
    {"Width", "width", "width", MeshNumber::width},
    {"Height", "height", "height", MeshNumber::height},
    {"Mesh Offset", "meshOffset", "mesh_offset", MeshNumber::meshOffset},
};
inline constexpr MeshNumberRow kMeshMaxTeams{"Max Teams", "maxTeams", "max_teams", MeshNumber::maxTeams};
inline constexpr MeshCodeRow kMeshNextLevel{"Next Level", "nextLevel", "next_level", MeshCode::nextLevel};

// "Player(s)": bit 0 of the player flags set means "Single".
inline constexpr std::int32_t kMeshSinglePlayer = 0x0001;
inline constexpr const char* kMeshSingleLabel = "Single";
inline constexpr const char* kMeshMultiLabel = "Multi";

// "Available Multi-Player Games": our own plain names for the eleven game types
// in bit order, then "None" for bit 11.
inline constexpr std::size_t kMeshGameTypes = 11;
inline constexpr std::array<const char*, kMeshGameTypes> kMeshGameTypeNames{
    "Free for All", "Team Battle", "Flag Capture", "Hill Control", "Last Survivor", "Territory Control",
    "Escort",       "Leader Hunt", "Treasure Race", "Base Siege",  "Endurance"};
inline constexpr const char* kMeshNoGameLabel = "None";
inline constexpr std::int32_t kMeshGameTypeBits = 0x0FFF;  // the eleven game types and "None"

// The label of game-type bit `bit` (0..11).
[[nodiscard]] constexpr const char* meshGameLabel(std::size_t bit)
{
    return bit < kMeshGameTypes ? kMeshGameTypeNames[bit] : kMeshNoGameLabel;
}

}  // namespace tagwarden
