#include "cli/editor_support.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "core/editors/plug_in_backup.h"
#include "core/editors/plug_in_save_check.h"
#include "core/io/file.h"
#include "core/io/utf8_path.h"
#include "core/tags/tag_text.h"

namespace tagwarden::cli {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<ByteSource> openReadOnly(const std::string& path)
{
    return std::make_unique<File>(path, File::Access::Read, File::Share::DenyWrite);
}

// The tags directory a plug-in at DIR/local/TYPE/ID belongs to, so that its backup
// goes to the same path below the backup folder; empty when the plug-in lies
// elsewhere (its backup then takes its own name).
std::string tagsDirectoryOf(const std::string& path)
{
    std::error_code ignored;
    const fs::path file = fs::absolute(pathFromUtf8(path), ignored).lexically_normal();
    const fs::path local = file.parent_path().parent_path();
    return local.filename() == "local" ? utf8Of(local.parent_path()) : std::string();
}

// Every question a save may ask, answered as `options` say.
std::vector<BatchAnswer> saveAnswers(const SaveOptions& options)
{
    using Answer = Prompter::Answer;
    const bool withoutBackup = options.backupFolder.empty() || options.noBackup;
    return {{kNoBackupQuestion, withoutBackup ? Answer::Ok : Answer::Cancel,
             "Nothing was written; --no-backup saves it without a backup."},
            {kHardLinksQuestion, options.breakLinks ? Answer::Ok : Answer::Cancel,
             "Nothing was written; --break-links saves it as a file of its own."},
            {kChangedOutsideQuestion, Answer::Cancel, "Nothing was written; run the command again."}};
}

}  // namespace

Prompter::Answer BatchPrompter::message(const std::string& text, Buttons buttons, Icon, const std::string&)
{
    if (buttons == Buttons::Ok) {
        notices_.push_back(text);
        return Answer::Ok;
    }
    const auto known = std::find_if(answers_.begin(), answers_.end(), [&text](const BatchAnswer& a) {
        return text.find(a.question) != std::string::npos;
    });
    if (known != answers_.end() && known->answer == Answer::Ok)
        return Answer::Ok;
    notices_.push_back(known != answers_.end() ? text + "\n" + known->refusedHint : text);
    return known != answers_.end() ? known->answer : Answer::Cancel;
}

std::optional<std::string> BatchPrompter::chooseFile(const FileRequest&) { return std::exchange(path_, {}); }

template <typename T>
T EditorPlugIn::shown(Reported<T> reported)
{
    showNotices(prompter_, reported.notices);
    return std::move(reported.value);
}

EditorPlugIn::EditorPlugIn(const std::string& path, Access access, const SaveOptions& options)
    : path_(path),
      prompter_(path, saveAnswers(options)),
      tag_(settings_, prompter_, access == Access::Show ? openReadOnly : EditorTagFile::openOnDisk)
{
    const std::string& backupFolder = options.backupFolder;
    settings_.writeString(settings::kSection, settings::kBackupDirectory, backupFolder);
    if (!backupFolder.empty())
        settings_.writeString(settings::kSection, settings::kTagsDirectory, tagsDirectoryOf(path));
}

bool EditorPlugIn::open(const std::string& type, std::optional<std::uint32_t> size)
{
    EditorTagFile::Started started = shown(tag_.openAndRead(type, size));
    if (!started.data)
        return false;
    data_ = std::move(*started.data);
    return true;
}

void EditorPlugIn::openOrThrow(const std::string& type, std::optional<std::uint32_t> size)
{
    if (open(type, size))
        return;
    std::string text;
    for (const std::string& notice : notices())
        text += (text.empty() ? "" : "\n") + escapedLines(notice);
    throw CommandError(text);
}

bool EditorPlugIn::changes(const std::string& name, const std::string& id, std::span<const std::uint8_t> data) const
{
    return tag_.writeChanges(tag_.headerWith(name, id, static_cast<std::uint32_t>(data.size())), data);
}

bool EditorPlugIn::save(const std::string& name, const std::string& id, std::span<const std::uint8_t> data)
{
    tag_.setName(name);
    tag_.setId(id);
    tag_.setDataLength(static_cast<std::uint32_t>(data.size()));
    tag_.storeHeaderFields();
    if (!shown(tag_.writeTag(data)))
        return false;
    data_.assign(data.begin(), data.end());
    return true;
}

std::string escapedLines(const std::string& text, const std::string& prefix)
{
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        out += prefix;
        appendPrintableMessage(out, std::string_view(text).substr(start, end - start));
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}

void printNotices(const std::vector<std::string>& notices, const std::string& prefix)
{
    for (const std::string& notice : notices)
        std::cerr << escapedLines(notice, prefix) << '\n';
}

void addSaveOptions(CLI::App& command, SaveOptions& options)
{
    command.add_option("--backup-dir", options.backupFolder,
                       "copy each plug-in as it was into this folder before its first change "
                       "(below it, the path the plug-in has below its tags directory); default: no backup");
    command.add_flag("--no-backup", options.noBackup,
                     "with --backup-dir: save even when the backup cannot be made (default: refused)");
    command.add_flag("--break-links", options.breakLinks,
                     "save a file that has other names (hard links) as a file of its own (default: refused)");
}

}  // namespace tagwarden::cli
