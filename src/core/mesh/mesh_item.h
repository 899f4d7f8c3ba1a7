#pragma once

#include "core/mesh/item_type.h"
#include "core/mesh/record_bytes.h"

namespace tagwarden {

// One placed item of the map (64 bytes). The position is fixed point with ten
// fraction bits; offset 12 holds a number nobody uses, carried through.
class MeshItem : public RecordBytes<64> {
public:
    [[nodiscard]] std::int16_t presentAtStart() const { return number16(2); }
    void setPresentAtStart(std::int32_t value) { setNumber16(2, value); }
    [[nodiscard]] std::int16_t category() const { return number16(4); }
    void setCategory(std::int32_t value) { setNumber16(4, value); }
    [[nodiscard]] std::int16_t reference() const { return number16(6); }
    void setReference(std::int32_t value) { setNumber16(6, value); }
    [[nodiscard]] std::int16_t id1() const { return number16(8); }
    void setId1(std::int32_t value) { setNumber16(8, value); }
    [[nodiscard]] std::int32_t x() const { return number32(16); }
    void setX(std::int32_t value) { setNumber32(16, value); }
    [[nodiscard]] std::int32_t y() const { return number32(20); }
    void setY(std::int32_t value) { setNumber32(20, value); }
    [[nodiscard]] std::int32_t z() const { return number32(24); }
    void setZ(std::int32_t value) { setNumber32(24, value); }
    // A 16-bit fraction of a full turn.
    [[nodiscard]] std::int16_t facing() const { return number16(32); }
    void setFacing(std::int32_t value) { setNumber16(32, value); }
    [[nodiscard]] std::int16_t id2() const { return number16(60); }
    void setId2(std::int32_t value) { setNumber16(60, value); }
    [[nodiscard]] std::int16_t id3() const { return number16(62); }
    void setId3(std::int32_t value) { setNumber16(62, value); }

    // An item belongs to the type with the same category and reference.
    [[nodiscard]] bool belongsTo(const ItemType& type) const
    {
        return category() == type.category() && reference() == type.reference();
    }
};

}  // namespace tagwarden
