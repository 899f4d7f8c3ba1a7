#pragma once

#include <string>

namespace tagwarden {

// The "Browse" button of the settings dialog: the user confirms a placeholder
// name (or tags.gor) in a folder, which picks that folder as the tags directory.
namespace tags_locator {

inline constexpr const char* kTitle = "Locate Vorn_Saga Directory Containing 'tags.gor'";
inline constexpr const char* kFilter = "Vorn Tag Files (*.gor)|*.gor||";
inline constexpr const char* kPlaceholderName = "Find the Tags .gor";
inline constexpr const char* kMissingCaption = "ERROR - 'tags.gor' File Not Found";

// The file dialog's initial name: the edit box's text, a separator, the placeholder.
[[nodiscard]] std::string initialName(std::string editText);
// The folder of a chosen name (made absolute), without a trailing separator
// except at the root.
[[nodiscard]] std::string folderOf(const std::string& chosenName);
[[nodiscard]] bool holdsTagsGor(const std::string& folder);
// The text of the box that asks whether to take a folder without tags.gor.
[[nodiscard]] std::string missingText(const std::string& folder);
// The backup directory proposed for a located tags folder.
[[nodiscard]] std::string backupFolder(const std::string& folder);

}  // namespace tags_locator

}  // namespace tagwarden
