#include "core/compare/form_values.h"

#include "core/editors/mons_fields.h"
#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_form.h"
#include "core/mesh/mesh_model.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

const char* flagText(bool flag) { return flag ? "yes" : "no"; }

}  // namespace

std::vector<std::string> checkedGames(const MeshHeader& header)
{
    std::vector<std::string> games;
    for (std::size_t bit = 0; bit <= kMeshGameTypes; ++bit)
        if ((header.number(MeshNumber::gameTypes) >> bit) & 1)
            games.emplace_back(meshGameLabel(bit));
    return games;
}

std::vector<FormValue> unitFormValues(const MonsBlock& block, const std::string& id, const std::string& name)
{
    std::vector<FormValue> values{{"name", id, "Name"}, {"description", name, "Description"}};
    for (const MonsNumberField& field : kMonsNumbers)
        values.push_back({field.key, std::to_string(block.*field.value), field.label, true});
    values.push_back({"heals_creature", flagText(block.healFlag), kMonsHealsLabel});
    values.push_back({"turn_to_stone", flagText(block.stoneFlag), kMonsStoneLabel});
    for (const MonsCodeField& field : kMonsCodes)
        values.push_back({field.key, block.*field.value, field.label});
    for (const MonsShownField& field : kMonsShown)
        values.push_back({field.key, block.*field.value, field.label});
    for (const MonsTerrainRow& row : kMonsTerrainRows)
        for (const std::size_t box : row.boxes)
            values.push_back({std::string("terrain.") + kMonsTerrain[box].key, flagText(block.terrain[box]),
                              kMonsTerrain[box].label});
    return values;
}

std::vector<FormValue> mapFormValues(MeshModel& model)
{
    const MeshHeader& header = model.header();
    const TagHeaderBytes& tag = model.tagHeader();
    std::vector<FormValue> values{{"map_name", std::string(upToNul(fieldText(tag, tag_header::kId))), "Map Name"},
                                  {"description", std::string(upToNul(fieldText(tag, tag_header::kName))), "Description"}};
    const auto addCode = [&](const MeshCodeRow& row) {
        values.push_back({row.key, codeText(header.code(row.code)), row.label});
    };
    const auto addNumber = [&](const MeshNumberRow& row) {
        values.push_back({row.key, std::to_string(header.number(row.field)), row.label, true});
    };
    for (const MeshCodeRow& row : kMeshLeftCodes)
        addCode(row);
    for (const MeshCodeRow& row : kMeshRightCodes)
        addCode(row);
    for (const MeshNumberRow& row : kMeshShownNumbers)
        addNumber(row);
    addNumber(kMeshMaxTeams);
    addCode(kMeshNextLevel);
    const bool single = (header.number(MeshNumber::playerFlags) & kMeshSinglePlayer) != 0;
    values.push_back({"player", single ? kMeshSingleLabel : kMeshMultiLabel, "Player(s)"});
    std::string games;
    for (const std::string& game : checkedGames(header))
        games += (games.empty() ? "" : ", ") + game;
    values.push_back({"game_types", games, "Available Multi-Player Games"});
    return values;
}

}  // namespace tagwarden
