// mons show and mons set: the unit form for scripts, with the form's labels,
// ranges and save path.
#include <CLI/CLI.hpp>
#include <functional>
#include <iostream>
#include <memory>
#include <variant>

#include "cli/cli_support.h"
#include "cli/editor_support.h"
#include "cli/json_output.h"
#include "core/editors/mons_fields.h"
#include "core/tags/tag_text.h"

namespace tagwarden::cli {

namespace {

constexpr std::size_t kIdWidth = 4;
constexpr std::size_t kNameWidth = 32;
constexpr std::string_view kTerrainPrefix = "terrain.";

// What the form shows of a unit: the block and the header's id ("Name:") and name ("Description:").
struct Unit {
    MonsBlock block;
    std::string id;
    std::string name;
    std::uint32_t dataLength = 0;
};

// One field as the form shows it; texts are raw bytes, shown up to a zero byte.
struct ShownValue {
    std::string key;
    std::string label;
    std::variant<long long, bool, std::string> value;
};

std::string valueText(const ShownValue& shown)
{
    if (const auto* number = std::get_if<long long>(&shown.value))
        return std::to_string(*number);
    if (const auto* flag = std::get_if<bool>(&shown.value))
        return *flag ? "yes" : "no";
    return printable(std::get<std::string>(shown.value));
}

// The attack column's field `part` ("min_range") of one side, under the column's heading.
ShownValue attackValue(const MonsBlock& block, const MonsAttackSide& side, const std::string& part)
{
    const std::string key = std::string(side.prefix) + "." + part;
    std::string heading(side.heading);
    heading.pop_back();  // "Primary:" heads the column; a line says "Primary Min Range"
    if (const MonsNumberField* number = monsNumberKeyed(key))
        return {key, heading + " " + number->label, static_cast<long long>(block.*number->value)};
    if (const MonsCodeField* code = monsCodeKeyed(key))
        return {key, heading + " " + code->label, block.*code->value};
    const MonsShownField* shown = monsShownKeyed(key);
    return {key, heading + " " + shown->label, block.*shown->value};
}

bool inAttackColumn(const char* key) { return std::string_view(key).find('.') != std::string_view::npos; }

// Every field of the form, in the form's order.
std::vector<ShownValue> shownValues(const Unit& unit)
{
    const MonsBlock& block = unit.block;
    std::vector<ShownValue> values{{"name", "Name:", unit.id},
                                   {"description", "Description:", unit.name},
                                   {"data_length", "Data Length", static_cast<long long>(unit.dataLength)}};
    for (const MonsNumberField& field : kMonsNumbers)
        if (!inAttackColumn(field.key))
            values.push_back({field.key, field.label, static_cast<long long>(block.*field.value)});
    values.push_back({"heals_creature", kMonsHealsLabel, block.healFlag});
    values.push_back({"turn_to_stone", kMonsStoneLabel, block.stoneFlag});
    for (const MonsCodeField& field : kMonsCodes)
        if (!inAttackColumn(field.key))
            values.push_back({field.key, field.label, block.*field.value});
    for (const MonsTerrainRow& row : kMonsTerrainRows)
        for (const std::size_t box : row.boxes)
            values.push_back({std::string(kTerrainPrefix) + kMonsTerrain[box].key, kMonsTerrain[box].label,
                              static_cast<bool>(block.terrain[box])});
    for (const MonsAttackSide& side : kMonsAttackSides)
        for (const char* part : {"recover_time", "proj_code", "min_range", "max_range", "ballistics", "attack_defn"})
            values.push_back(attackValue(block, side, part));
    return values;
}

std::string lineText(const ShownValue& shown)
{
    const bool colon = !shown.label.empty() && shown.label.back() == ':';
    return shown.label + (colon ? " " : ": ") + valueText(shown);
}

Json unitJson(const std::vector<ShownValue>& values)
{
    Json json = Json::object();
    for (const ShownValue& shown : values) {
        Json* place = &json;
        std::string_view key = shown.key;
        for (std::size_t dot = key.find('.'); dot != std::string_view::npos; dot = key.find('.')) {
            place = &(*place)[std::string(key.substr(0, dot))];
            key.remove_prefix(dot + 1);
        }
        std::visit(
            [&](const auto& value) {
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>)
                    (*place)[std::string(key)] = latin1Text(value);
                else
                    (*place)[std::string(key)] = value;
            },
            shown.value);
    }
    return json;
}

Unit unitOf(const EditorPlugIn& plugIn)
{
    const std::vector<std::uint8_t>& data = plugIn.data();
    return {MonsBlock::decode(MonsBlock::ConstData(data.data(), MonsBlock::kSize)), plugIn.tag().id(),
            plugIn.tag().name(), plugIn.tag().dataLength()};
}

// ---- set ----------------------------------------------------------------

// One --set, checked: changes a unit as typing the value into the form and saving would.
using Change = std::function<void(Unit&)>;

// What a key names: a field a save writes, a field shown only, or nothing.
enum class KeyKind { Name, Description, Number, Code, Terrain, Stone, ShownOnly, Unknown };

KeyKind kindOf(std::string_view key)
{
    if (key == "name")
        return KeyKind::Name;
    if (key == "description")
        return KeyKind::Description;
    if (key == "turn_to_stone")
        return KeyKind::Stone;
    if (const MonsNumberField* number = monsNumberKeyed(key))
        return number->checked ? KeyKind::Number : KeyKind::ShownOnly;
    if (monsCodeKeyed(key))
        return KeyKind::Code;
    if (key.starts_with(kTerrainPrefix) && monsTerrainKeyed(key.substr(kTerrainPrefix.size())))
        return KeyKind::Terrain;
    if (key == "data_length" || key == "heals_creature" || monsShownKeyed(key))
        return KeyKind::ShownOnly;
    return KeyKind::Unknown;
}

long long numberValue(const MonsNumberField& field, const std::string& text)
{
    // The form's number edits take digits only.
    const bool digits = !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
    const long long number = digits ? std::stoll(text) : -1;
    if (!monsInRange(field, number))
        throw CommandError(monsRangeMessage(field));
    return number;
}

bool flagValue(const std::string& key, const std::string& text)
{
    if (text == "yes" || text == "true" || text == "1" || text == "on")
        return true;
    if (text == "no" || text == "false" || text == "0" || text == "off")
        return false;
    throw CommandError("ERROR - " + key + " takes yes or no, not \"" + printable(text) + "\"");
}

// A text as the tag stores it (Latin-1, from the terminal's encoding), at most `width` characters.
std::string textValue(const std::string& key, const std::string& typed, std::size_t width)
{
    const std::string text = tagTextOfArgument(typed, key);
    if (text.size() > width)
        throw CommandError("ERROR - " + key + " takes at most " + std::to_string(width) + " characters, not \"" +
                           printable(text) + "\"");
    return text;
}

// The change one --set makes. A key that names no field a save writes is a usage
// error (CLI::ValidationError); a value the form would refuse is a CommandError.
Change changeOf(const std::string& assignment)
{
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos)
        throw CLI::ValidationError("--set", "takes KEY=VALUE, not \"" + printable(assignment) + "\"");
    const std::string key = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    switch (kindOf(key)) {
    case KeyKind::Name:
        return [id = textValue(key, text, kIdWidth)](Unit& unit) { unit.id = editedText(unit.id, id); };
    case KeyKind::Description:
        return [name = textValue(key, text, kNameWidth)](Unit& unit) { unit.name = editedText(unit.name, name); };
    case KeyKind::Number: {
        const MonsNumberField& field = *monsNumberKeyed(key);
        return [&field, number = numberValue(field, text)](Unit& unit) {
            unit.block.*field.value = static_cast<int>(number);
        };
    }
    case KeyKind::Code: {
        const MonsCodeField& field = *monsCodeKeyed(key);
        return [&field, code = textValue(key, text, kIdWidth)](Unit& unit) {
            unit.block.*field.value = MonsBlock::editedCode(unit.block.*field.value, code);
        };
    }
    case KeyKind::Terrain:
        return [box = *monsTerrainKeyed(key.substr(kTerrainPrefix.size())), flag = flagValue(key, text)](Unit& unit) {
            unit.block.terrain[box] = flag;
        };
    case KeyKind::Stone:
        return [flag = flagValue(key, text)](Unit& unit) { unit.block.stoneFlag = flag; };
    case KeyKind::ShownOnly:
        throw CLI::ValidationError("--set", printable(key) + " is shown only: the unit form never saves it");
    case KeyKind::Unknown:
        break;
    }
    throw CLI::ValidationError("--set", "\"" + printable(key) + "\" names no field (see mons show --json)");
}

// A unit read and checked, with the data its changes come to.
struct PendingUnit {
    std::unique_ptr<EditorPlugIn> plugIn;
    Unit before;
    Unit after;
    std::vector<std::uint8_t> data;
};

// Reads the unit and works out its changed data; nothing when the editor refuses it (told on stderr).
std::optional<PendingUnit> prepare(const std::string& path, const std::vector<Change>& changes,
                                   const SaveOptions& saving)
{
    auto plugIn = std::make_unique<EditorPlugIn>(path, EditorPlugIn::Access::Edit, saving);
    const std::string prefix = printableMessage(path) + ": ";
    if (!plugIn->open("mons", MonsBlock::kSize)) {
        printNotices(plugIn->notices(), prefix);
        return std::nullopt;
    }
    if (plugIn->tag().dataLength() != MonsBlock::kSize) {
        printNotices({EditorTagFile::kLengthMismatchMessage}, prefix);
        return std::nullopt;
    }
    PendingUnit pending{std::move(plugIn), {}, {}, {}};
    pending.before = unitOf(*pending.plugIn);
    pending.after = pending.before;
    for (const Change& change : changes)
        change(pending.after);
    pending.data = pending.plugIn->data();
    pending.after.block.encodeChangesInto(MonsBlock::Data(pending.data.data(), MonsBlock::kSize), pending.before.block);
    return pending;
}

// "health 100 -> 120, terrain.deep yes -> no": every field the save changes.
std::string changeSummary(const PendingUnit& pending)
{
    Unit saved = pending.after;
    saved.block = MonsBlock::decode(MonsBlock::ConstData(pending.data.data(), MonsBlock::kSize));
    const std::vector<ShownValue> before = shownValues(pending.before);
    const std::vector<ShownValue> after = shownValues(saved);
    std::string summary;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::string old = valueText(before[i]);
        const std::string now = valueText(after[i]);
        if (old != now)
            summary += (summary.empty() ? "" : ", ") + before[i].key + " " + old + " -> " + now;
    }
    return summary;
}

struct MonsOptions {
    std::vector<std::string> paths;
    bool json = false;
    std::vector<std::string> assignments;
    std::vector<Change> changes;
    SaveOptions saving;
};

int runShow(const MonsOptions& options)
{
    EditorPlugIn plugIn(options.paths.front(), EditorPlugIn::Access::Show);
    plugIn.openOrThrow("mons", MonsBlock::kSize);
    const std::vector<ShownValue> values = shownValues(unitOf(plugIn));
    if (options.json) {
        std::cout << unitJson(values).dump(2) << '\n';
        return 0;
    }
    for (const ShownValue& shown : values)
        std::cout << lineText(shown) << '\n';
    return 0;
}

int runSet(const MonsOptions& options)
{
    // Every file is read and checked, and held, before the first one is written.
    std::vector<PendingUnit> units;
    bool allReadable = true;
    for (const std::string& path : options.paths) {
        auto pending = prepare(path, options.changes, options.saving);
        allReadable = allReadable && pending;
        if (pending)
            units.push_back(std::move(*pending));
    }
    if (!allReadable)
        throw CommandError("ERROR - No file was changed.");
    for (PendingUnit& unit : units) {
        const std::string prefix = printableMessage(unit.plugIn->path()) + ": ";
        if (!unit.plugIn->changes(unit.after.name, unit.after.id, unit.data)) {
            std::cout << prefix << "unchanged\n";
            continue;
        }
        const std::string summary = changeSummary(unit);
        if (!unit.plugIn->save(unit.after.name, unit.after.id, unit.data)) {
            std::cout.flush();
            printNotices(unit.plugIn->notices(), prefix);
            throw CommandError(prefix + "ERROR - not written; the files after it were not changed either.");
        }
        std::cout << prefix << summary << '\n';
        std::cout.flush();
        printNotices(unit.plugIn->notices(), prefix);
    }
    return 0;
}

}  // namespace

void addMonsCommands(CLI::App& app, Command& command)
{
    auto options = std::make_shared<MonsOptions>();
    auto* mons = app.add_subcommand("mons", "Show or change unit (mons) plug-ins as the unit form does");
    mons->require_subcommand(1);

    auto* show = mons->add_subcommand("show", "Print every field of the unit form");
    show->add_option("FILE", options->paths, "mons plug-in")->required()->expected(1);
    show->add_flag("--json", options->json, "one JSON object instead of Label: value lines");
    show->callback([&command, options] { command = [options] { return runShow(*options); }; });

    auto* set = mons->add_subcommand("set", "Change fields of every FILE as the unit form saves them");
    set->add_option("FILE", options->paths, "mons plug-ins")->required();
    set->add_option("--set", options->assignments, "KEY=VALUE, a key of show --json (nested: primary.min_range)")
        ->required()
        ->allow_extra_args(false);
    addSaveOptions(*set, options->saving);
    set->callback([&command, options] {
        // Every value is checked before any file is opened.
        for (const std::string& assignment : options->assignments)
            options->changes.push_back(changeOf(assignment));
        command = [options] { return runSet(*options); };
    });
}

}  // namespace tagwarden::cli
