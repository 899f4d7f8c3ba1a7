#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/io/byte_order.h"

namespace tagwarden {

// Every tag, in an archive's directory or alone in a plug-in, starts with this header.
inline constexpr std::size_t kTagHeaderSize = 64;
using TagHeaderBytes = std::array<std::uint8_t, kTagHeaderSize>;

// Where one field lies in the header.
struct TagField {
    std::size_t offset;
    std::size_t width;
};

// The header's fields in stored order. Texts are zero-padded 8-bit bytes, numbers big-endian.
namespace tag_header {
inline constexpr TagField kName{0, 32};
inline constexpr TagField kType{32, 4};
inline constexpr TagField kId{36, 4};
inline constexpr TagField kReserved1{40, 7};     // opaque
inline constexpr TagField kNumber{47, 1};        // unsigned 8-bit
inline constexpr TagField kStartAddress{48, 4};  // from the start of the file that holds the tag
inline constexpr TagField kDataLength{52, 4};
inline constexpr TagField kReserved2{56, 4};     // opaque
inline constexpr TagField kSignature{60, 4};
// The first 64 bytes of an archive are a header of their own whose bytes 40..43
// locate the directory.
inline constexpr TagField kDirectoryOffset{40, 4};

// The signature of a tag of the game; at the start of a file it marks a plug-in.
inline constexpr std::string_view kSignatureText = "vorn";
}  // namespace tag_header

// A field's bytes as stored, zero bytes included.
[[nodiscard]] inline std::string_view fieldText(const std::uint8_t* header, TagField field)
{
    return {reinterpret_cast<const char*>(header + field.offset), field.width};
}
[[nodiscard]] inline std::string_view fieldText(const TagHeaderBytes& header, TagField field)
{
    return fieldText(header.data(), field);
}

// The first bytes of `text` into the field, the rest of it zero.
inline void setFieldText(TagHeaderBytes& header, TagField field, std::string_view text)
{
    const auto place = header.begin() + static_cast<std::ptrdiff_t>(field.offset);
    const std::size_t count = std::min(text.size(), field.width);
    std::copy_n(text.begin(), count, place);
    std::fill(place + static_cast<std::ptrdiff_t>(count), place + static_cast<std::ptrdiff_t>(field.width),
              std::uint8_t{0});
}

// A four-byte number field (start address, length of data, directory offset).
[[nodiscard]] inline std::uint32_t fieldNumber(const std::uint8_t* header, TagField field)
{
    return readBigEndian32(header + field.offset);
}
[[nodiscard]] inline std::uint32_t fieldNumber(const TagHeaderBytes& header, TagField field)
{
    return fieldNumber(header.data(), field);
}
inline void setFieldNumber(TagHeaderBytes& header, TagField field, std::uint32_t value)
{
    writeBigEndian32(header.data() + field.offset, value);
}

// Whether the header carries the game's signature.
[[nodiscard]] inline bool hasTagSignature(const TagHeaderBytes& header)
{
    return fieldText(header, tag_header::kSignature) == tag_header::kSignatureText;
}

}  // namespace tagwarden
