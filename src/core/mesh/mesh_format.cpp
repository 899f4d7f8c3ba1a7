#include "core/mesh/mesh_format.h"

#include <charconv>
#include <cstdio>

#include "core/mesh/mesh_code.h"

namespace tagwarden {

namespace {

// Sixteen-bit numbers are shown sign-extended, so -1 prints as FFFFFFFF. (The
// "%.4X" forms are the classic "%0.4X": a zero flag beside a precision does nothing.)
unsigned hexOf(std::int32_t value) { return static_cast<unsigned>(value); }

std::string unknownCategory(std::int16_t category)
{
    char text[32];
    std::snprintf(text, sizeof text, "Unknown(%.4X)", hexOf(category));
    return text;
}

}  // namespace

float positionValue(std::int32_t stored) { return static_cast<float>(stored) * 0.0009765625f; }

float facingDegrees(std::int16_t stored) { return static_cast<float>(stored) / 65536.0f * 360.0f; }

std::string decimalText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return {text, result.ptr};
}

std::string categoryTypeListName(std::int16_t category)
{
    switch (category) {
    case 0: return "Camera ";
    case 1: return "Scenery";
    case 3: return "Units  ";
    case 5: return "Sounds";
    case 6: return "Models ";
    case 9: return "Objects";
    case 10: return "Special";
    default: return unknownCategory(category);
    }
}

std::string categoryItemListName(std::int16_t category)
{
    switch (category) {
    case 0: return "Camera";
    case 1: return "Scenery";
    case 3: return "Units";
    case 5: return "Sounds";
    case 6: return "Models";
    case 9: return "Objects";
    case 10: return "Special";
    default: return unknownCategory(category);
    }
}

std::size_t categoryChoiceIndex(std::int16_t category)
{
    for (std::size_t i = 0; i + 1 < kCategoryChoices.size(); ++i)
        if (kCategoryChoices[i].value == category)
            return i;
    return kCategoryChoices.size() - 1;
}

std::int32_t chosenCategory(std::size_t choice, std::int16_t original)
{
    const std::size_t other = kCategoryChoices.size() - 1;
    if (choice < other)
        return kCategoryChoices[choice].value;
    return categoryChoiceIndex(original) == other ? original : kCategoryChoices[other].value;
}

std::ptrdiff_t tradingChoiceIndex(std::int16_t trading)
{
    for (std::size_t i = 0; i < kTradingChoices.size(); ++i)
        if (kTradingChoices[i].value == trading)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

std::string itemTypeLine(const ItemType& type)
{
    char line[128];
    std::snprintf(line, sizeof line, "%-8s\t%-5s %.8X %.4X", categoryTypeListName(type.category()).c_str(),
                  codeLabel(type.code()).c_str(), hexOf(type.team()), hexOf(type.reference()));
    return line;
}

std::string itemLine(const MeshItem& item)
{
    char line[192];
    std::snprintf(line, sizeof line, "%-8s\tID1:%.8X %.4X\tX:%.5d \tY:%.5d \tZ:%.5d  \tID2:%.5d ID3:%.5d",
                  categoryItemListName(item.category()).c_str(), hexOf(item.id1()), hexOf(item.reference()), item.x(),
                  item.y(), item.z(), item.id2(), item.id3());
    return line;
}

}  // namespace tagwarden
