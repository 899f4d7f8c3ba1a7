#include "core/viewer/tag_data.h"

#include <algorithm>

#include "core/io/byte_source.h"
#include "core/tags/hex.h"

namespace tagwarden {

std::string TagData::load(const ByteSource& source, std::uint32_t start, std::uint32_t length)
{
    // Read aside first, so a read error leaves no half-filled buffer behind.
    std::vector<std::uint8_t> bytes(std::min(length, kMaxBytes));
    bytes.resize(source.readAt(start, bytes.data(), bytes.size()));
    bytes_ = std::move(bytes);
    return hexText();
}

std::string TagData::hexText() const { return hexDump(bytes_.data(), bytes_.size()); }

std::string TagData::asciiText() const
{
    std::string text;
    text.reserve(bytes_.size());
    for (std::uint8_t byte : bytes_)
        text += (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
    return text;
}

}  // namespace tagwarden
