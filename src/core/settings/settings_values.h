#pragma once

#include <string>

#include "core/settings/settings_store.h"

namespace tagwarden {

// Separator of the platform's paths: the tags directory always ends in one.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The five settings as the settings dialog holds them between uses.
struct SettingsValues {
    std::string backupDirectory;
    std::string tagsDirectory;
    int asciiDisplay = 0;
    int allowMods = 0;
    int allowOverwrites = 0;

    friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// Reads the store into `values`; false (switches left unread) when either
// directory is missing, which makes this a first start.
[[nodiscard]] bool loadSettings(SettingsValues& values, const SettingsStore& store);
// Writes all five values.
void saveSettings(const SettingsValues& values, SettingsStore& store);

// The values a first start writes. On Windows the game's own folders; elsewhere
// the same folders under the default Wine prefix of `homeDirectory`.
[[nodiscard]] SettingsValues firstStartSettings(const std::string& homeDirectory);
// $HOME, or "" when it is not set.
[[nodiscard]] std::string homeDirectory();

// Makes sure `directory` ends in the separator (an empty one becomes a lone
// separator) and answers a copy of it.
std::string getTagsDirectory(std::string& directory);

}  // namespace tagwarden
