#include "core/viewer/tag_data.h"

#include <algorithm>

#include "core/io/byte_source.h"
#include "core/tags/hex.h"
#include "core/tags/tag_entry.h"

namespace tagwarden {

void TagData::read(const ByteSource& source, std::uint32_t start, std::uint32_t count)
{
    // A load replaces what was loaded before, even when it fails; read aside, so
    // that a read error leaves no half-filled buffer behind.
    bytes_.clear();
    loaded_ = true;
    expected_ = count;
    // Never more than the file can hold: a header may claim gigabytes.
    const std::uint64_t room = source.length() > start ? source.length() - start : 0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, room)));
    bytes.resize(source.readAt(start, bytes.data(), bytes.size()));
    bytes_ = std::move(bytes);
}

std::string TagData::load(const ByteSource& source, std::uint32_t start, std::uint32_t length)
{
    read(source, start, std::min(length, kMaxBytes));
    return hexText();
}

void TagData::loadWhole(const ByteSource& source, const TagEntry& entry)
{
    read(source, entry.startAddress(), entry.dataLength());
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
