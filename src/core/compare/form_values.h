#pragma once

#include <string>
#include <vector>

namespace tagwarden {

class MeshHeader;
class MeshModel;
struct MonsBlock;

// One field of an editor's form under the key scripts use ("health",
// "primary.min_range", "map_stli"), its value as text: numbers in decimal, flags
// "yes" or "no", names and codes as their raw bytes.
struct FormValue {
    std::string key;
    std::string value;
    std::string label;    // as the form shows it ("Map Name"), where a caller prints it
    bool number = false;  // the value is a decimal number
};

// Every field of the unit form, in its order: "name" is the tag's id, "description" its name.
[[nodiscard]] std::vector<FormValue> unitFormValues(const MonsBlock& block, const std::string& id,
                                                    const std::string& name);
// Every field of the map form with its label, in its order, and "game_types" (the
// checked games' names, joined by ", ").
[[nodiscard]] std::vector<FormValue> mapFormValues(MeshModel& model);
// The names of the games a map is checked for, in the form's order.
[[nodiscard]] std::vector<std::string> checkedGames(const MeshHeader& header);

}  // namespace tagwarden
