#include "core/viewer/proposed_folder.h"

#include <system_error>

namespace tagwarden {

ProposedFolder::ProposedFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    for (std::filesystem::path level = folder; !level.empty() && !std::filesystem::exists(level, error) && !error;
         level = level.parent_path()) {
        made_.push_back(level);
        if (!level.has_relative_path())
            break;
    }
    if (!std::filesystem::create_directories(folder, error))
        made_.clear();  // nothing new to take away again
}

ProposedFolder::~ProposedFolder()
{
    std::error_code error;
    for (const std::filesystem::path& level : made_)
        if (!std::filesystem::remove(level, error))  // only an empty folder goes
            return;
}

}  // namespace tagwarden
