#include "core/editors/plug_in_backup.h"

#include <filesystem>

#include "core/io/file_error.h"
#include "core/io/safe_writer.h"
#include "core/io/utf8_path.h"
#include "core/settings/settings_store.h"

namespace tagwarden {

namespace fs = std::filesystem;

namespace {

fs::path absoluteOf(const std::string& path)
{
    std::error_code ignored;  // without a current folder the path stays relative, and is compared so
    return fs::absolute(pathFromUtf8(path), ignored).lexically_normal();
}

[[noreturn]] void failWith(const std::error_code& error, const fs::path& path)
{
    const FileErrorCause cause = error == std::errc::permission_denied || error == std::errc::read_only_file_system
                                     ? FileErrorCause::AccessDenied
                                     : FileErrorCause::Other;
    throw FileError(cause, utf8Of(path), error.message());
}

// The copy, all of it or nothing, with folders made as needed.
void copyInto(const ByteSource& plugIn, const fs::path& target)
{
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error)
        failWith(error, target.parent_path());
    SafeWriter writer(utf8Of(target), File::Share::All);
    copyBytes(plugIn, writer.bytes(), 0, plugIn.length());
    writer.commit();
}

// What holds the backup's name when it is not a regular file, in the user's words.
std::string slotKind(fs::file_type type)
{
    switch (type) {
    case fs::file_type::symlink:
        return "a link";
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a pipe (FIFO)";
    default:
        return "not a regular file";
    }
}

}  // namespace

std::string backupPath(const std::string& plugIn, const std::string& tagsDirectory, const std::string& backupDirectory)
{
    const fs::path file = absoluteOf(plugIn);
    fs::path below = tagsDirectory.empty() ? fs::path() : file.lexically_relative(absoluteOf(tagsDirectory));
    if (below.empty() || *below.begin() == ".." || *below.begin() == ".")
        below = file.filename();
    return utf8Of(pathFromUtf8(backupDirectory) / below);
}

Reported<bool> PlugInBackup::beforeSave(const ByteSource& plugIn, Prompter& asker)
{
    if (settled_)
        return {true, {}};
    Outcome outcome = backUp(plugIn);
    Notices notices;
    if (outcome.backedUp) {
        notices.push_back({std::move(outcome.text)});
    } else if (asker.message("No backup of the file could be made. " + outcome.text + "\n\n" + kNoBackupQuestion,
                             Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation) == Prompter::Answer::Cancel) {
        return {false, {}};
    }
    settled_ = true;
    return {true, std::move(notices)};
}

PlugInBackup::Outcome PlugInBackup::backUp(const ByteSource& plugIn) const
{
    const std::string folder = settings_.readString(settings::kSection, settings::kBackupDirectory);
    if (folder.empty())
        return {false, "No backup directory is set in the settings."};
    const fs::path target =
        backupPath(plugIn.path(), settings_.readString(settings::kSection, settings::kTagsDirectory), folder);
    std::error_code error;
    const fs::file_status slot = fs::symlink_status(target, error);
    // Only a regular file is a backup; anything else there leaves no room for one.
    if (slot.type() != fs::file_type::not_found && slot.type() != fs::file_type::regular)
        return {false, "The backup's place " + utf8Of(target) + " is " + slotKind(slot.type()) +
                           ": no backup can be made there."};
    const bool exists = slot.type() == fs::file_type::regular;
    if (exists && fs::equivalent(target, pathFromUtf8(plugIn.path()), error))
        return {false, "The backup would be the file itself: " + utf8Of(target)};
    if (exists && settings_.readInt(settings::kSection, settings::kOverwrite) == 0)
        return {true, "A backup of this file made earlier is kept, unchanged, as:\n" + utf8Of(target) +
                          "\n(\"Allow Overwrites in Backup Directory\" is off.)"};
    try {
        copyInto(plugIn, target);
    } catch (const FileError& failure) {
        return {false, failure.what()};
    }
    return {true, "The file as it was before this save is backed up as:\n" + utf8Of(target)};
}

}  // namespace tagwarden
