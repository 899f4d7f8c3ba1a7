#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/editors/mons_block.h"

namespace tagwarden {

// The fields of the unit form, shared by the form and the command-line tool so
// that both show the same labels and accept the same ranges. `name` is the form's
// widget name, `key` the stable name scripts use ("primary.min_range").

// A number edit with its spin button: the arrows step within `step`, the form's
// check accepts `check`; fields without a check are shown only, never saved.
struct MonsNumberField {
    const char* name;
    const char* key;
    const char* label;
    const char* what;  // the field as a range message names it
    int stepMinimum;
    int stepMaximum;
    int checkMinimum;
    int checkMaximum;
    bool checked;
    int MonsBlock::*value;
};

// In the order of the form, which is the order of the range checks.
inline constexpr MonsNumberField kMonsNumbers[] = {
    {"turnRate", "turn_rate", "Turn Rate", "Turn Rate", 1, 255, 1, 255, true, &MonsBlock::turnRate},
    {"walkRate", "walk_rate", "Walk Rate", "Walk Rate", 1, 255, 0, 255, true, &MonsBlock::walkRate},
    {"health", "health", "Health (hp)", "Health (hp)", 1, 255, 1, 255, true, &MonsBlock::health},
    {"ammo", "ammo", "Ammo/Items", "Ammo/Items", 0, 255, 0, 255, true, &MonsBlock::ammo},
    {"spriteScale", "sprite_scale", "Sprite Scale", "Sprite Scale", 1, 500, 0, 65535, true, &MonsBlock::spriteScale},
    {"primaryRecoverTime", "primary.recover_time", "Recover Time", "primary Recover Time", 0, 255, 0, 255, false,
     &MonsBlock::primaryRecoverTime},
    {"primaryMinRange", "primary.min_range", "Min Range", "primary Min Range", 0, 255, 0, 255, true,
     &MonsBlock::primaryMinRange},
    {"primaryMaxRange", "primary.max_range", "Max Range", "primary Max Range", 0, 255, 0, 255, true,
     &MonsBlock::primaryMaxRange},
    {"secondaryRecoverTime", "secondary.recover_time", "Recover Time", "secondary Recover Time", 0, 255, 0, 255, false,
     &MonsBlock::secondaryRecoverTime},
    {"secondaryMinRange", "secondary.min_range", "Min Range", "secondary Min Range", 0, 255, 0, 255, true,
     &MonsBlock::secondaryMinRange},
    {"secondaryMaxRange", "secondary.max_range", "Max Range", "secondary Max Range", 0, 255, 0, 255, true,
     &MonsBlock::secondaryMaxRange},
};

// The form's refusal of a value outside the field's check range.
[[nodiscard]] std::string monsRangeMessage(const MonsNumberField& field);
// Whether the form's check accepts `value` for the field.
[[nodiscard]] bool monsInRange(const MonsNumberField& field, long long value);

// An editable list of the ids of one tag type.
struct MonsCodeField {
    const char* name;
    const char* key;
    const char* label;
    const char* type;
    std::string MonsBlock::*value;
};

inline constexpr MonsCodeField kMonsCodes[] = {
    {"coreCode", "core_code", "CORE Code:", "core", &MonsBlock::coreCode},
    {"objeCode", "baob_code", "*BAOB Code", "obje", &MonsBlock::objeCode},
    {"prgrCode", "prgr_code", "PRGR Code:", "prgr", &MonsBlock::prgrCode},
    {"primaryProjCode", "primary.proj_code", "PROJ Code:", "proj", &MonsBlock::primaryProjCode},
    {"secondaryProjCode", "secondary.proj_code", "PROJ Code:", "proj", &MonsBlock::secondaryProjCode},
};

// Lists that only ever hold the value as read.
struct MonsShownField {
    const char* name;
    const char* key;
    const char* label;
    std::string MonsBlock::*value;
};

inline constexpr MonsShownField kMonsShown[] = {
    {"primaryBallistics", "primary.ballistics", "Ballistics", &MonsBlock::primaryBallistics},
    {"secondaryBallistics", "secondary.ballistics", "Ballistics", &MonsBlock::secondaryBallistics},
    {"primaryAttackDefn", "primary.attack_defn", "Attack Defn", &MonsBlock::primaryAttackDefn},
    {"secondaryAttackDefn", "secondary.attack_defn", "Attack Defn", &MonsBlock::secondaryAttackDefn},
};

// Terrain check boxes in the order of their bytes.
struct MonsTerrainBox {
    const char* name;
    const char* key;
    const char* label;
};

inline constexpr MonsTerrainBox kMonsTerrain[MonsBlock::kTerrainCount] = {
    {"shallow", "shallow", "Shallow"},
    {"medium", "medium", "Medium"},
    {"deep", "deep", "Deep"},
    {"anySubmerge", "any_submerge", "Any/Submerge"},
    {"sloped", "sloped", "Sloped"},
    {"steep", "steep", "Steep"},
    {"grass", "grass", "Grass"},
    {"sand", "sand", "Sand"},
    {"rocky", "rocky", "Rocky"},
    {"marsh", "marsh", "Marsh"},
    {"snow", "snow", "Snow"},
    {"forrest", "forrest", "Forrest"},
    {"mountainsHover", "mountains_hover", "Mountains/Hover"},
    {"fly", "fly", "Fly (even off map)"},
};

// The terrain rows of the form and the bytes of their boxes, top to bottom.
struct MonsTerrainRow {
    const char* label;
    std::initializer_list<std::size_t> boxes;
};

inline const MonsTerrainRow kMonsTerrainRows[] = {
    {"Water - ", {0, 1, 2, 3}},
    {"Hills - ", {4, 5, 12, 13}},
    {"Can Walk On:", {6, 7, 8, 9, 10, 11}},
};

// The two columns of the attacks group: key prefix and heading.
struct MonsAttackSide {
    const char* prefix;
    const char* heading;
};
inline constexpr std::array<MonsAttackSide, 2> kMonsAttackSides{{{"primary", "Primary:"}, {"secondary", "Secondary:"}}};

inline constexpr const char* kMonsHealsLabel = "Heals Creature";
inline constexpr const char* kMonsKillsLabel = "Kills Creature";
inline constexpr const char* kMonsStoneLabel = "Turn To Stone on Low HP";

// Look-ups by widget name (the form) or by key (scripts); nothing when none has it.
[[nodiscard]] const MonsNumberField* monsNumberNamed(std::string_view name);
[[nodiscard]] const MonsCodeField* monsCodeNamed(std::string_view name);
[[nodiscard]] const MonsNumberField* monsNumberKeyed(std::string_view key);
[[nodiscard]] const MonsCodeField* monsCodeKeyed(std::string_view key);
[[nodiscard]] const MonsShownField* monsShownKeyed(std::string_view key);
// The terrain byte of a key without its "terrain." prefix ("shallow" gives 0).
[[nodiscard]] std::optional<std::size_t> monsTerrainKeyed(std::string_view key);

}  // namespace tagwarden
