#include "core/settings/tags_locator.h"

#include <filesystem>
#include <system_error>

#include "core/settings/settings_values.h"

namespace tagwarden::tags_locator {

std::string initialName(std::string editText)
{
    return getTagsDirectory(editText) + kPlaceholderName;
}

std::string folderOf(const std::string& chosenName)
{
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(chosenName, error);
    if (error)
        full = chosenName;
    // The root keeps its separator: "/tags.gor" lies in "/", not in "".
    return full.parent_path().string();
}

bool holdsTagsGor(const std::string& folder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(folder) / "tags.gor", error);
}

std::string missingText(const std::string& folder)
{
    return "The Directory:\n    " + folder +
           "       \n\ndoes not contain the file:  tags.gor\n\nPress OK to accept the above directory anyway.";
}

std::string backupFolder(const std::string& folder)
{
    const bool separated = !folder.empty() && folder.back() == kPathSeparator;
    return folder + (separated ? "" : std::string(1, kPathSeparator)) + "Backup";
}

}  // namespace tagwarden::tags_locator
