#include "core/editors/mons_fields.h"

#include <algorithm>
#include <iterator>

namespace tagwarden {

namespace {

template <typename Table, typename Member>
auto findIn(const Table& table, Member member, std::string_view wanted) -> decltype(&*std::begin(table))
{
    const auto it = std::find_if(std::begin(table), std::end(table),
                                 [&](const auto& field) { return std::string_view(field.*member) == wanted; });
    return it == std::end(table) ? nullptr : &*it;
}

}  // namespace

std::string monsRangeMessage(const MonsNumberField& field)
{
    return "Please enter an integer between " + std::to_string(field.checkMinimum) + " and " +
           std::to_string(field.checkMaximum) + " for " + field.what + ".";
}

bool monsInRange(const MonsNumberField& field, long long value)
{
    return value >= field.checkMinimum && value <= field.checkMaximum;
}

const MonsNumberField* monsNumberNamed(std::string_view name) { return findIn(kMonsNumbers, &MonsNumberField::name, name); }

const MonsCodeField* monsCodeNamed(std::string_view name) { return findIn(kMonsCodes, &MonsCodeField::name, name); }

const MonsNumberField* monsNumberKeyed(std::string_view key) { return findIn(kMonsNumbers, &MonsNumberField::key, key); }

const MonsCodeField* monsCodeKeyed(std::string_view key) { return findIn(kMonsCodes, &MonsCodeField::key, key); }

const MonsShownField* monsShownKeyed(std::string_view key) { return findIn(kMonsShown, &MonsShownField::key, key); }

std::optional<std::size_t> monsTerrainKeyed(std::string_view key)
{
    const MonsTerrainBox* box = findIn(kMonsTerrain, &MonsTerrainBox::key, key);
    if (!box)
        return std::nullopt;
    return static_cast<std::size_t>(box - std::begin(kMonsTerrain));
}

}  // namespace tagwarden
