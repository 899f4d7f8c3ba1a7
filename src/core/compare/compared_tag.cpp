#include "core/compare/compared_tag.h"

#include "core/io/byte_source.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "core/tags/tag_entry.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

constexpr const char* kArchiveName = "tags.gor";

// The entry's header and data; a problem when the file ends before its data does.
ComparedTagRead readEntry(const ByteSource& source, const TagHeaderBytes& header)
{
    const std::uint64_t start = fieldNumber(header, tag_header::kStartAddress);
    const std::uint64_t length = fieldNumber(header, tag_header::kDataLength);
    if (start + length > source.length())
        return {std::nullopt, "ERROR - The file ends before the tag's " + std::to_string(length) + " bytes of data"};
    ComparedTag tag{header, std::vector<std::uint8_t>(static_cast<std::size_t>(length))};
    if (source.readAt(start, tag.data.data(), tag.data.size()) != tag.data.size())
        return {std::nullopt, "ERROR - The file ends before the tag's " + std::to_string(length) + " bytes of data"};
    return {std::move(tag), {}};
}

}  // namespace

ComparedTagRead readPlugInTag(const ByteSource& source)
{
    TagDirectory directory;
    if (readDirectory(directory, source, nullptr) != ReadOutcome::SingleTag)
        return {std::nullopt, "ERROR - \"" + source.path() + "\" is not a plug-in"};
    return readEntry(source, directory.headerAt(0));
}

ComparedTagRead readArchiveTag(const ByteSource& source, std::string_view type, std::string_view id)
{
    TagDirectory directory;
    if (readDirectory(directory, source, nullptr) != ReadOutcome::Archive)
        return {std::nullopt, "ERROR - \"" + source.path() + "\" is not an archive"};
    const std::uint32_t typeKey = codeKey(type);
    const std::uint32_t idKey = codeKey(id);
    for (std::size_t index = 0; index < directory.entryCount(); ++index) {
        const TagHeaderBytes& header = directory.headerAt(index);
        if (codeKey(header.data() + tag_header::kType.offset) == typeKey &&
            codeKey(header.data() + tag_header::kId.offset) == idKey)
            return readEntry(source, header);
    }
    return {std::nullopt, "ERROR - \"" + source.path() + "\" holds no " + std::string(upToNul(type)) + " tag " +
                              std::string(upToNul(id))};
}

std::filesystem::path archiveOfPlugIn(const std::filesystem::path& plugIn)
{
    return std::filesystem::absolute(plugIn).parent_path().parent_path().parent_path() / kArchiveName;
}

}  // namespace tagwarden
