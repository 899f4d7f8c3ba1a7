#include "core/tags/tag_entry.h"

#include "core/io/byte_source.h"
#include "core/tags/hex.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

using namespace tag_header;

TagEntry::TagEntry(const TagHeaderBytes& header, std::uint64_t headerPosition)
    : header_(header), headerPosition_(headerPosition)
{
}

bool TagEntry::readFrom(const ByteSource& source, std::uint64_t position)
{
    TagHeaderBytes bytes{};
    if (source.readAt(position, bytes.data(), bytes.size()) < bytes.size())
        return false;
    *this = TagEntry(bytes, position);
    return true;
}

std::string TagEntry::hexField(TagField field) const
{
    std::string text;
    text.reserve(2 * field.width);
    for (std::size_t i = field.offset; i < field.offset + field.width; ++i)
        appendHexByte(text, header_[i]);
    return text;
}

std::string TagEntry::name() const { return std::string(upToNul(fieldText(header_, kName))); }
std::string TagEntry::type() const { return std::string(fieldText(header_, kType)); }
std::string TagEntry::id() const { return std::string(fieldText(header_, kId)); }
std::string TagEntry::reserved1Text() const { return hexField(kReserved1); }
std::string TagEntry::startAddressText() const { return hexField(kStartAddress); }
std::string TagEntry::lengthText() const { return hexField(kDataLength); }
std::string TagEntry::reserved2Text() const { return hexField(kReserved2); }
std::string TagEntry::signature() const { return std::string(fieldText(header_, kSignature)); }
std::uint32_t TagEntry::startAddress() const { return fieldNumber(header_, kStartAddress); }
std::uint32_t TagEntry::dataLength() const { return fieldNumber(header_, kDataLength); }
std::uint32_t TagEntry::typeKey() const { return codeKey(header_.data() + kType.offset); }
std::uint32_t TagEntry::idKey() const { return codeKey(header_.data() + kId.offset); }

std::string TagEntry::dumpText() const { return hexDump(header_.data(), header_.size()); }

std::string TagEntry::listLine() const
{
    const std::string fullId = id();
    std::string line(upToNul(fullId));
    line += " : ";
    line += name();
    return line;
}

bool isSingleTagFile(const ByteSource& source)
{
    TagHeaderBytes bytes{};
    return source.readAt(0, bytes.data(), bytes.size()) == bytes.size() && hasTagSignature(bytes);
}

std::optional<std::uint32_t> directoryOffset(const ByteSource& source)
{
    TagHeaderBytes bytes{};
    const TagField field = kDirectoryOffset;
    if (source.readAt(field.offset, bytes.data() + field.offset, field.width) < field.width)
        return std::nullopt;
    return fieldNumber(bytes, kDirectoryOffset);
}

}  // namespace tagwarden
