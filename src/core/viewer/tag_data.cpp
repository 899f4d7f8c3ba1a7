#include "core/viewer/tag_data.h"

#include <algorithm>

#include "core/io/byte_source.h"
#include "core/tags/hex.h"
#include "core/tags/tag_entry.h"

namespace tagwarden {

std::string TagData::load(const ByteSource& source, std::uint32_t start, std::uint32_t length)
{
    // A load replaces what was loaded before, even when it fails; read aside, so
    // that a read error leaves no half-filled buffer behind.
    bytes_.clear();
    loaded_ = true;
    expected_ = std::min(length, kMaxBytes);
    std::vector<std::uint8_t> bytes(expected_);
    bytes.resize(source.readAt(start, bytes.data(), bytes.size()));
    bytes_ = std::move(bytes);
    return hexText();
}

std::string TagData::load(const ByteSource& source, const TagEntry& entry)
{
    return load(source, entry.startAddress(), entry.dataLength());
}

std::string TagData::hexText() const { return hexDump(bytes_.data(), bytes_.size()); }

std::string TagData::asciiText() const
{
    if (!loaded_)
        return "ERROR";
    std::string text;
    text.reserve(bytes_.size());
    for (std::uint8_t byte : bytes_)
        text += (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
    return text;
}

}  // namespace tagwarden
