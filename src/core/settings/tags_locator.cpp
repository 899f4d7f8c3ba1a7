#include "core/settings/tags_locator.h"

#include <filesystem>
#include <system_error>

#include "core/io/utf8_path.h"
#include "core/settings/settings_values.h"

namespace tagwarden::tags_locator {

std::string initialName(std::string editText)
{
    return getTagsDirectory(editText) + kPlaceholderName;
}

std::string folderOf(const std::string& chosenName)
{
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(chosenName), error);
    if (error)
        full = pathFromUtf8(chosenName);
    // The root keeps its separator: "/tags.gor" lies in "/", not in "".
    return utf8Of(full.parent_path());
}

bool holdsTagsGor(const std::string& folder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(pathFromUtf8(folder) / "tags.gor", error);
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
