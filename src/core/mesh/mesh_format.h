#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/mesh/item_type.h"
#include "core/mesh/mesh_item.h"

namespace tagwarden {

// A stored position (fixed point, ten fraction bits) in map units: 1024 gives 1.
[[nodiscard]] float positionValue(std::int32_t stored);
// A stored facing (a 16-bit fraction of a turn) in degrees: 16384 gives 90.
[[nodiscard]] float facingDegrees(std::int16_t stored);
// The shortest text that reads back as the same value: "1", "-0.5", "-90".
[[nodiscard]] std::string decimalText(float value);

// Object categories as the two lists name them ("Unknown(0002)" for unlisted codes).
[[nodiscard]] std::string categoryTypeListName(std::int16_t category);
[[nodiscard]] std::string categoryItemListName(std::int16_t category);

// The "Object Type" radio buttons in their order; the last, "Other", stores 256.
struct Choice {
    std::int32_t value;
    const char* label;
};
inline constexpr std::array<Choice, 8> kCategoryChoices{{{0, "Camera"},
                                                         {1, "Scenery"},
                                                         {3, "Unit"},
                                                         {5, "Ambient Sound"},
                                                         {6, "Model"},
                                                         {9, "Object"},
                                                         {10, "Special Effects"},
                                                         {256, "Other"}}};
inline constexpr std::int32_t kUnitCategory = 3;
// The "Trading List" radio buttons.
inline constexpr std::array<Choice, 3> kTradingChoices{{{0, "Not Tradeable/Not Unit"}, {6, "Tradable"}, {8, "Not Visible"}}};

// The radio button that shows `category` ("Other" for any unlisted code).
[[nodiscard]] std::size_t categoryChoiceIndex(std::int16_t category);
// The category stored for the chosen button. "Other" keeps an unlisted code the
// record already had, so that confirming a form unchanged changes nothing.
[[nodiscard]] std::int32_t chosenCategory(std::size_t choice, std::int16_t original);
// The trading button that shows `trading`, or nothing for another value.
[[nodiscard]] std::ptrdiff_t tradingChoiceIndex(std::int16_t trading);

// The list lines of the item editor (tabs unexpanded).
[[nodiscard]] std::string itemTypeLine(const ItemType& type);
[[nodiscard]] std::string itemLine(const MeshItem& item);

}  // namespace tagwarden
