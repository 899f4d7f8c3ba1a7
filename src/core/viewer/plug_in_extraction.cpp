#include "core/viewer/plug_in_extraction.h"

#include <filesystem>

#include "core/io/utf8_path.h"
#include "core/tags/tag_directory.h"
#include "core/viewer/plug_in_writer.h"

namespace tagwarden {

ExtractedPlugIn extractPlugIn(const ByteSource& source, const std::string& sourcePath, const TagEntry& entry,
                              const std::string& targetPath, PlugInWriter::Existing existing)
{
    PlugInWriter writer(source, entry, sourcePath, existing);
    Reported<bool> written = writer.writePlugInTo(targetPath);
    return {targetPath, written.value, writer.sourceChanged(), std::move(written.notices)};
}

void extractGroup(const ByteSource& source, const std::string& sourcePath, const TagDirectory& directory,
                  const TypeGroup& group, const std::string& folder,
                  const std::function<void(const ExtractedPlugIn&)>& report, PlugInWriter::Existing existing)
{
    std::filesystem::create_directories(pathFromUtf8(folder));
    for (const GroupMember& member : group.members) {
        const TagEntry& entry = directory.entryAt(static_cast<std::size_t>(member.index));
        const ExtractedPlugIn outcome =
            extractPlugIn(source, sourcePath, entry, plugInPath(folder, member.idText()), existing);
        report(outcome);
        if (outcome.sourceChanged)
            return;
    }
}

}  // namespace tagwarden
