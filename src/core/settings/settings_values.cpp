#include "core/settings/settings_values.h"

#include <cstdlib>

namespace tagwarden {

bool loadSettings(SettingsValues& values, const SettingsStore& store)
{
    using namespace settings;
    values.tagsDirectory = store.readString(kSection, kTagsDirectory);
    values.backupDirectory = store.readString(kSection, kBackupDirectory);
    if (values.backupDirectory.empty() || values.tagsDirectory.empty())
        return false;
    values.allowOverwrites = store.readInt(kSection, kOverwrite);
    values.asciiDisplay = store.readInt(kSection, kAsciiDisplay);
    values.allowMods = store.readInt(kSection, kAllowMods);
    return true;
}

void saveSettings(const SettingsValues& values, SettingsStore& store)
{
    using namespace settings;
    store.writeString(kSection, kTagsDirectory, values.tagsDirectory);
    store.writeString(kSection, kBackupDirectory, values.backupDirectory);
    store.writeInt(kSection, kOverwrite, values.allowOverwrites);
    store.writeInt(kSection, kAsciiDisplay, values.asciiDisplay);
    store.writeInt(kSection, kAllowMods, values.allowMods);
}

SettingsValues firstStartSettings([[maybe_unused]] const std::string& homeDirectory)
{
#ifdef _WIN32
    const std::string tags = "c:\\Program Files\\Vorn_Saga\\Tags\\";
#else
    const std::string tags = homeDirectory + "/.wine/drive_c/Program Files/Vorn_Saga/Tags/";
#endif
    SettingsValues values;
    values.tagsDirectory = tags;
    values.backupDirectory = tags + "Backup" + kPathSeparator;
    values.asciiDisplay = 1;
    values.allowMods = 1;
    values.allowOverwrites = 0;
    return values;
}

std::string homeDirectory()
{
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

std::string getTagsDirectory(std::string& directory)
{
    if (directory.empty() || directory.back() != kPathSeparator)
        directory += kPathSeparator;
    return directory;
}

}  // namespace tagwarden
