#include "core/viewer/plug_in_extraction.h"

#include <filesystem>

#include "core/prompt/scripted_prompter.h"
#include "core/tags/tag_directory.h"
#include "core/viewer/plug_in_writer.h"

namespace tagwarden {

ExtractedPlugIn extractPlugIn(const ByteSource& source, const std::string& sourcePath, const TagEntry& entry,
                              const std::string& targetPath, PlugInWriter::Existing existing)
{
    ScriptedPrompter prompter;
    prompter.queueFile(targetPath);
    PlugInWriter writer(source, entry, sourcePath, prompter, existing);
    ExtractedPlugIn result{targetPath, writer.writePlugIn(), {}};
    for (const ScriptedPrompter::Shown& shown : prompter.shown())
        result.messages.push_back(shown.text);
    return result;
}

void extractGroup(const ByteSource& source, const std::string& sourcePath, const TagDirectory& directory,
                  const TypeGroup& group, const std::string& folder,
                  const std::function<void(const ExtractedPlugIn&)>& report, PlugInWriter::Existing existing)
{
    std::filesystem::create_directories(folder);
    for (const GroupMember& member : group.members) {
        const TagEntry& entry = directory.entryAt(static_cast<std::size_t>(member.index));
        report(extractPlugIn(source, sourcePath, entry, plugInPath(folder, member.idText()), existing));
    }
}

}  // namespace tagwarden
