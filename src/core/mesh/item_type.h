#pragma once

#include "core/mesh/record_bytes.h"

namespace tagwarden {

// One entry of the map's item-type table (32 bytes): a kind of object that
// placed items refer to by category and reference.
class ItemType : public RecordBytes<32> {
public:
    [[nodiscard]] std::int16_t category() const { return number16(0); }
    void setCategory(std::int32_t value) { setNumber16(0, value); }
    // 0 not tradeable or not a unit, 6 tradable, 8 not visible.
    [[nodiscard]] std::int16_t trading() const { return number16(2); }
    void setTrading(std::int32_t value) { setNumber16(2, value); }
    // The id of the tag the type stands for.
    [[nodiscard]] Code code() const { return RecordBytes::code(4); }
    void setCode(const Code& value) { RecordBytes::setCode(4, value); }
    [[nodiscard]] std::int16_t team() const { return number16(8); }
    void setTeam(std::int32_t value) { setNumber16(8, value); }
    [[nodiscard]] std::int16_t maxCount() const { return number16(26); }
    void setMaxCount(std::int32_t value) { setNumber16(26, value); }
    [[nodiscard]] std::int16_t presentCount() const { return number16(28); }
    void setPresentCount(std::int32_t value) { setNumber16(28, value); }
    [[nodiscard]] std::int16_t reference() const { return number16(30); }
    void setReference(std::int32_t value) { setNumber16(30, value); }
};

}  // namespace tagwarden
