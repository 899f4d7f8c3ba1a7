#pragma once

#include <string>

#include "core/prompt/notice.h"

namespace tagwarden {

class ByteSource;
class SettingsStore;

// The closing words of the question asked when no backup can be made.
inline constexpr const char* kNoBackupQuestion = "Save it anyway, without a backup?";

// Where the backup of the plug-in `plugIn` goes: below `backupDirectory` under the
// path the plug-in has below `tagsDirectory`, or under its own name when it lies
// elsewhere. Paths are compared as written, made absolute.
[[nodiscard]] std::string backupPath(const std::string& plugIn, const std::string& tagsDirectory,
                                     const std::string& backupDirectory);

// The copy of a plug-in as it was before an editor first wrote into it, in the
// backup directory of the settings. An existing backup, a regular file, is kept (it
// holds the oldest original) unless the settings allow overwrites in the backup
// directory; a link, folder or anything else in its place means none can be made.
class PlugInBackup {
public:
    explicit PlugInBackup(const SettingsStore& settings) : settings_(settings) {}

    // Called before every save of an editor. The first call copies `plugIn`, the file
    // as it still is, with a notice of where the copy is; when none can be made it
    // asks `asker` whether to save without one. False: the user chose not to save.
    // Once a copy was made or declined, later calls answer true at once, untold.
    [[nodiscard]] Reported<bool> beforeSave(const ByteSource& plugIn, Prompter& asker);

private:
    struct Outcome {
        bool backedUp;     // made now, or kept from before
        std::string text;  // where it is, or why there is none
    };
    [[nodiscard]] Outcome backUp(const ByteSource& plugIn) const;

    const SettingsStore& settings_;
    bool settled_ = false;
};

}  // namespace tagwarden
