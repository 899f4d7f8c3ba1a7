#include "core/editors/plug_in_save_check.h"

#include "core/prompt/prompter.h"

namespace tagwarden {

void PlugInSaveCheck::remember(const std::string& path)
{
    const std::optional<FileStatus> status = native::statusOf(path);
    stamp_ = status ? std::optional<FileStamp>(status->stamp) : std::nullopt;
}

bool PlugInSaveCheck::beforeSave(const std::string& path, Prompter& asker) const
{
    const std::optional<FileStatus> status = native::statusOf(path);
    const bool changed = status ? stamp_ != status->stamp : stamp_.has_value();
    const auto refused = [&asker](const std::string& question) {
        return asker.message(question, Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation) ==
               Prompter::Answer::Cancel;
    };
    if (changed && refused("The file \"" + path + "\" was changed or replaced by another program since it was "
                           "read here.\n\n" + kChangedOutsideQuestion + " (Cancel keeps the changes here, unsaved.)"))
        return false;
    if (status && status->links > 1 &&
        refused("The file \"" + path + "\" has " + std::to_string(status->links) +
                " names (hard links). A save gives this name a file of its own; the other names keep the old "
                "content.\n\n" + kHardLinksQuestion))
        return false;
    return true;
}

}  // namespace tagwarden
