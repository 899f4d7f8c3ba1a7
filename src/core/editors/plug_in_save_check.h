#pragma once

#include <optional>
#include <string>

#include "core/io/native_file.h"

namespace tagwarden {

class Prompter;

// The closing words of the questions below, by which a script's answers find them.
inline constexpr const char* kChangedOutsideQuestion = "Overwrite it with this version?";
inline constexpr const char* kHardLinksQuestion = "Save it as a separate file?";

// What an editor's save asks before it replaces its plug-in. A save writes a new
// file and gives it the plug-in's name, so it would silently undo what another
// program put there since the editor read the file, and it would leave the
// file's other names (hard links) with the old content.
class PlugInSaveCheck {
public:
    // The file at `path` as it is now is the one the editor holds: called after
    // reading it and after each save of the editor's own.
    void remember(const std::string& path);
    // Asks `asker` (Ok or Cancel) whether to overwrite a file that another
    // program replaced or changed since it was remembered, and whether to give a
    // file of several names a file of its own. False: nothing is to be written.
    [[nodiscard]] bool beforeSave(const std::string& path, Prompter& asker) const;

private:
    std::optional<FileStamp> stamp_;
};

}  // namespace tagwarden
