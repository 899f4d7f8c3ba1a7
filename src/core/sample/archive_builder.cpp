#include "core/sample/archive_builder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/io/safe_writer.h"
#include "core/io/utf8_path.h"

namespace tagwarden {

namespace {

void putText(std::uint8_t* field, const std::string& text, std::size_t width)
{
    std::memcpy(field, text.data(), std::min(text.size(), width));
}

std::uint32_t narrow(std::size_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

TagHeaderBytes makeHeader(const SampleTag& tag, std::uint32_t start)
{
    TagHeaderBytes header{};
    putText(header.data(), tag.name, 32);
    putText(header.data() + 32, tag.type, 4);
    putText(header.data() + 36, tag.id, 4);
    header[47] = tag.number;
    writeBigEndian32(header.data() + 48, start);
    writeBigEndian32(header.data() + 52, narrow(tag.data.size()));
    std::memcpy(header.data() + 60, "vorn", 4);
    return header;
}

Bytes buildArchive(const std::vector<SampleTag>& tags)
{
    Bytes archive(kTagHeaderSize, 0);
    std::memcpy(archive.data(), "Vorn tag archive (sample)", 25);
    std::vector<std::uint32_t> starts;
    starts.reserve(tags.size());
    for (const SampleTag& tag : tags) {
        starts.push_back(narrow(archive.size()));
        archive.insert(archive.end(), tag.data.begin(), tag.data.end());
    }
    writeBigEndian32(archive.data() + 40, narrow(archive.size()));
    archive.reserve(archive.size() + tags.size() * kTagHeaderSize);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const TagHeaderBytes header = makeHeader(tags[i], starts[i]);
        archive.insert(archive.end(), header.begin(), header.end());
    }
    return archive;
}

Bytes buildPlugIn(const SampleTag& tag)
{
    const TagHeaderBytes header = makeHeader(tag, narrow(kTagHeaderSize));
    Bytes plugIn(header.begin(), header.end());
    plugIn.insert(plugIn.end(), tag.data.begin(), tag.data.end());
    return plugIn;
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    {
        File file(path, File::Access::Write, File::Share::DenyWrite);
        file.write(bytes.data(), bytes.size());
        file.closeWritten();
    }
    // The file layer never truncates; a fixture rewritten shorter must not keep an old tail.
    std::filesystem::resize_file(pathFromUtf8(path), bytes.size());
}

void writeNewFile(const std::string& path, const Bytes& bytes)
{
    SafeWriter writer(path, File::Share::DenyWrite);
    writer.bytes().writeAt(0, bytes.data(), bytes.size());
    writer.commit(File::Place::OnlyIfFree);
}

}  // namespace tagwarden
