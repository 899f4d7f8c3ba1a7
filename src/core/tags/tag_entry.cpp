#include "core/tags/tag_entry.h"

#include <cstring>

#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/tags/hex.h"
#include "core/tags/tag_text.h"
#include "core/viewer/tag_data.h"

namespace tagwarden {

TagEntry::TagEntry(const TagHeaderBytes& header, std::uint64_t headerPosition)
    : header_(header), headerPosition_(headerPosition)
{
}

TagEntry::TagEntry() = default;
TagEntry::~TagEntry() = default;
TagEntry::TagEntry(TagEntry&&) noexcept = default;
TagEntry& TagEntry::operator=(TagEntry&&) noexcept = default;

bool TagEntry::readFrom(File& file)
{
    const std::uint64_t position = file.position();
    TagHeaderBytes bytes{};
    if (file.read(bytes.data(), bytes.size()) < bytes.size())
        return false;
    *this = TagEntry(bytes, position);
    return true;
}

std::string TagEntry::charField(std::size_t offset, std::size_t width) const
{
    return {reinterpret_cast<const char*>(header_.data() + offset), width};
}

std::string TagEntry::hexField(std::size_t offset, std::size_t width) const
{
    std::string text;
    text.reserve(2 * width);
    for (std::size_t i = offset; i < offset + width; ++i)
        appendHexByte(text, header_[i]);
    return text;
}

std::string TagEntry::name() const { return std::string(upToNul(charField(0, 32))); }
std::string TagEntry::type() const { return charField(32, 4); }
std::string TagEntry::id() const { return charField(36, 4); }
std::string TagEntry::reserved1Text() const { return hexField(40, 7); }
std::string TagEntry::startAddressText() const { return hexField(48, 4); }
std::string TagEntry::lengthText() const { return hexField(52, 4); }
std::string TagEntry::reserved2Text() const { return hexField(56, 4); }
std::string TagEntry::signature() const { return charField(60, 4); }
std::uint32_t TagEntry::startAddress() const { return readBigEndian32(header_.data() + 48); }
std::uint32_t TagEntry::dataLength() const { return readBigEndian32(header_.data() + 52); }
std::uint32_t TagEntry::typeKey() const { return codeKey(header_.data() + 32); }
std::uint32_t TagEntry::idKey() const { return codeKey(header_.data() + 36); }

std::string TagEntry::dumpText() const { return hexDump(header_.data(), header_.size()); }

std::string TagEntry::listLine() const
{
    const std::string fullId = id();
    std::string line(upToNul(fullId));
    line += " : ";
    line += name();
    return line;
}

std::string TagEntry::loadData(File& file)
{
    data_ = std::make_unique<TagData>();
    return data_->load(file, startAddress(), dataLength());
}

std::string TagEntry::dataAsciiText() const { return data_ ? data_->asciiText() : std::string("ERROR"); }

bool isSingleTagFile(File& file)
{
    file.seek(0);
    TagHeaderBytes bytes{};
    return file.read(bytes.data(), bytes.size()) == bytes.size() && std::memcmp(bytes.data() + 60, "vorn", 4) == 0;
}

std::optional<std::uint32_t> directoryOffset(File& file)
{
    file.seek(40);
    std::uint8_t bytes[4];
    if (file.read(bytes, sizeof bytes) < sizeof bytes)
        return std::nullopt;
    return readBigEndian32(bytes);
}

}  // namespace tagwarden
