#pragma once

#include <functional>
#include <string>

#include "core/viewer/plug_in_writer.h"

namespace tagwarden {

class ByteSource;
class TagDirectory;
class TagEntry;
struct TypeGroup;

// What writing one plug-in without dialogs came to.
struct ExtractedPlugIn {
    std::string path;
    bool created = false;
    bool sourceChanged = false;  // the archive changed since it was read: nothing more is to be copied
    Notices notices;  // what the writer had to say, in order
};

// Writes `entry` to `targetPath` with the same writer as the viewer's "Create
// Plug-In", without its save dialog.
[[nodiscard]] ExtractedPlugIn extractPlugIn(const ByteSource& source, const std::string& sourcePath,
                                            const TagEntry& entry, const std::string& targetPath,
                                            PlugInWriter::Existing existing = PlugInWriter::Existing::FillEmpty);

// Writes every member of `group` to folder/ID (the id made safe as a file name),
// creating the folder when missing; `report` hears each member in member order.
// Stops after a member whose header in the file is no longer the one listed.
void extractGroup(const ByteSource& source, const std::string& sourcePath, const TagDirectory& directory,
                  const TypeGroup& group, const std::string& folder,
                  const std::function<void(const ExtractedPlugIn&)>& report,
                  PlugInWriter::Existing existing = PlugInWriter::Existing::FillEmpty);

}  // namespace tagwarden
