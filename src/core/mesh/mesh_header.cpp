#include "core/mesh/mesh_header.h"

namespace tagwarden {

namespace {

struct Place {
    std::size_t offset;
    std::size_t width;
};

Place placeOf(MeshNumber field)
{
    switch (field) {
    case MeshNumber::width: return {8, 2};
    case MeshNumber::height: return {10, 2};
    case MeshNumber::typesBase: return {16, 4};
    case MeshNumber::meshOffset: return {24, 4};
    case MeshNumber::dataEnd: return {28, 4};
    case MeshNumber::typeCount: return {36, 4};
    case MeshNumber::typeOffset: return {40, 4};
    case MeshNumber::typeLength: return {44, 4};
    case MeshNumber::itemCount: return {52, 4};
    case MeshNumber::itemOffset: return {56, 4};
    case MeshNumber::itemLength: return {60, 4};
    case MeshNumber::playerFlags: return {76, 2};
    case MeshNumber::gameTypes: return {78, 2};
    case MeshNumber::maxTeams: return {84, 4};
    case MeshNumber::section1Offset: return {132, 4};
    case MeshNumber::section1Length: return {136, 4};
    case MeshNumber::section2Offset: return {192, 4};
    case MeshNumber::section2Length: return {196, 4};
    case MeshNumber::section3Offset: return {204, 4};
    case MeshNumber::section3Length: return {208, 4};
    }
    return {0, 0};
}

std::size_t offsetOf(MeshCode field)
{
    switch (field) {
    case MeshCode::mapGraphic: return 0;
    case MeshCode::primaryWater: return 4;
    case MeshCode::lighting: return 68;
    case MeshCode::secondaryWater: return 72;
    case MeshCode::particles: return 80;
    case MeshCode::ambientSound: return 124;
    case MeshCode::mapStringList: return 140;
    case MeshCode::postScreen: return 144;
    case MeshCode::preScreen: return 148;
    case MeshCode::overheadMap: return 152;
    case MeshCode::nextLevel: return 156;
    case MeshCode::objectives: return 164;
    case MeshCode::narrationText: return 176;
    case MeshCode::windEffects: return 228;
    case MeshCode::captionsStringList: return 252;
    case MeshCode::narrationSound: return 256;
    }
    return 0;
}

}  // namespace

std::int32_t MeshHeader::number(MeshNumber field) const
{
    const Place place = placeOf(field);
    return place.width == 2 ? record_.number16(place.offset) : record_.number32(place.offset);
}

void MeshHeader::setNumber(MeshNumber field, std::int32_t value)
{
    const Place place = placeOf(field);
    if (place.width == 2)
        record_.setNumber16(place.offset, value);
    else
        record_.setNumber32(place.offset, value);
}

Code MeshHeader::code(MeshCode field) const { return record_.code(offsetOf(field)); }

void MeshHeader::setCode(MeshCode field, const Code& code) { record_.setCode(offsetOf(field), code); }

}  // namespace tagwarden
