// mesh show: the map form's fields, its item types and its placed items.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/editor_support.h"
#include "cli/json_output.h"
#include "core/compare/form_values.h"
#include "core/io/file.h"
#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_form.h"
#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_model.h"
#include "core/tags/tag_text.h"

namespace tagwarden::cli {

namespace {

struct MeshOptions {
    std::string path;
    bool json = false;
};

Json categoryJson(Json json, std::int16_t category)
{
    json["category"] = kCategoryChoices[categoryChoiceIndex(category)].label;
    json["category_code"] = category;
    return json;
}

Json itemTypeJson(const ItemType& type)
{
    const std::ptrdiff_t trading = tradingChoiceIndex(type.trading());
    Json json = categoryJson(Json::object(), type.category());
    json["trading"] = trading < 0 ? Json() : Json(kTradingChoices[static_cast<std::size_t>(trading)].label);
    json["trading_code"] = type.trading();
    json["item_id"] = latin1Text(codeLabel(type.code()));
    json["team"] = type.team();
    json["present_count"] = type.presentCount();
    json["max_count"] = type.maxCount();
    json["reference"] = type.reference();
    return json;
}

Json itemJson(const MeshItem& item)
{
    Json json{{"initial_item", item.presentAtStart() != 0}};
    json = categoryJson(std::move(json), item.category());
    json["id1"] = item.id1();
    json["reference"] = item.reference();
    json["id2"] = item.id2();
    json["id3"] = item.id3();
    json["position"] = Json{{"x", positionValue(item.x())}, {"y", positionValue(item.y())}, {"z", positionValue(item.z())}};
    json["facing"] = facingDegrees(item.facing());
    json["stored"] = Json{{"x", item.x()}, {"y", item.y()}, {"z", item.z()}, {"facing", item.facing()}};
    return json;
}

void printJson(MeshModel& model)
{
    Json json = Json::object();
    for (const FormValue& field : mapFormValues(model))
        json[field.key] = field.number ? Json(std::stoll(field.value)) : Json(latin1Text(field.value));
    json["game_types"] = checkedGames(model.header());  // a list, not the form's text
    json["item_types"] = Json::array();
    for (const ItemType& type : model.itemTypes())
        json["item_types"].push_back(itemTypeJson(type));
    json["items"] = Json::array();
    for (const MeshItem& item : model.items())
        json["items"].push_back(itemJson(item));
    std::cout << json.dump(2) << '\n';
}

void printText(MeshModel& model)
{
    for (const FormValue& field : mapFormValues(model))
        std::cout << field.label << ": " << printable(field.value) << '\n';
    // The item editor's list lines, in the map's order; only their tabs are not printable.
    for (const ItemType& type : model.itemTypes())
        std::cout << "Item Type: " << itemTypeLine(type) << '\n';
    for (const MeshItem& item : model.items())
        std::cout << "Item: " << itemLine(item) << '\n';
}

int runShow(const MeshOptions& options)
{
    File file(options.path, File::Access::Read, File::Share::DenyWrite);
    MeshModel model(std::make_unique<BufferedFile>(file, BufferedFile::kMeshBufferSize));
    if (const auto problem = model.load())
        throw CommandError(escapedLines(*problem));
    if (options.json)
        printJson(model);
    else
        printText(model);
    return 0;
}

}  // namespace

void addMeshCommands(CLI::App& app, Command& command)
{
    auto options = std::make_shared<MeshOptions>();
    auto* mesh = app.add_subcommand("mesh", "Show map (mesh) plug-ins as the map editor does");
    mesh->require_subcommand(1);
    auto* show = mesh->add_subcommand("show", "Print the map form's fields, item types and items");
    show->add_option("FILE", options->path, "mesh plug-in")->required();
    show->add_flag("--json", options->json, "one JSON object instead of Label: value lines");
    show->callback([&command, options] { command = [options] { return runShow(*options); }; });
}

}  // namespace tagwarden::cli
