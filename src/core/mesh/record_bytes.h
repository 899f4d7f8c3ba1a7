#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/io/byte_order.h"

namespace tagwarden {

// A four-byte code: the id of another tag, kept in stored order. FFFFFFFF means "none".
using Code = std::array<std::uint8_t, 4>;

// The bytes of one map record exactly as stored. Numbers are read and written
// big-endian at their offsets on demand, so every byte nobody edits goes back
// to the file as it came.
template <std::size_t Size>
class RecordBytes {
public:
    static constexpr std::size_t kSize = Size;

    [[nodiscard]] std::int16_t number16(std::size_t offset) const
    {
        return static_cast<std::int16_t>(readBigEndian16(bytes_.data() + offset));
    }
    [[nodiscard]] std::int32_t number32(std::size_t offset) const
    {
        return static_cast<std::int32_t>(readBigEndian32(bytes_.data() + offset));
    }
    void setNumber16(std::size_t offset, std::int32_t value)
    {
        writeBigEndian16(bytes_.data() + offset, static_cast<std::uint16_t>(value));
    }
    void setNumber32(std::size_t offset, std::int32_t value)
    {
        writeBigEndian32(bytes_.data() + offset, static_cast<std::uint32_t>(value));
    }
    [[nodiscard]] Code code(std::size_t offset) const
    {
        return {bytes_[offset], bytes_[offset + 1], bytes_[offset + 2], bytes_[offset + 3]};
    }
    void setCode(std::size_t offset, const Code& code)
    {
        for (std::size_t i = 0; i < code.size(); ++i)
            bytes_[offset + i] = code[i];
    }

    [[nodiscard]] std::array<std::uint8_t, Size>& bytes() { return bytes_; }
    [[nodiscard]] const std::array<std::uint8_t, Size>& bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, Size> bytes_{};
};

}  // namespace tagwarden
