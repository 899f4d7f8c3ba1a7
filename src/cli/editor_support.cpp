#include "cli/editor_support.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "core/io/file.h"
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
    const fs::path file = fs::absolute(fs::path(path), ignored).lexically_normal();
    const fs::path local = file.parent_path().parent_path();
    return local.filename() == "local" ? local.parent_path().string() : std::string();
}

}  // namespace

Prompter::Answer BatchPrompter::message(const std::string& text, Buttons buttons, Icon, const std::string&)
{
    if (buttons == Buttons::Ok) {
        notices_.push_back(text);
        return Answer::Ok;
    }
    if (questions_ != Answer::Ok)
        notices_.push_back(text);
    return questions_;
}

std::optional<std::string> BatchPrompter::chooseFile(const FileRequest&) { return std::exchange(path_, {}); }

template <typename T>
T EditorPlugIn::shown(Reported<T> reported)
{
    showNotices(prompter_, reported.notices);
    return std::move(reported.value);
}

EditorPlugIn::EditorPlugIn(const std::string& path, Access access, const std::string& backupFolder)
    : path_(path),
      // Without a backup folder the editor's question whether to save without one is answered yes.
      prompter_(path, backupFolder.empty() ? Prompter::Answer::Ok : Prompter::Answer::Cancel),
      tag_(settings_, prompter_, access == Access::Show ? openReadOnly : EditorTagFile::openOnDisk)
{
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

void addBackupOption(CLI::App& command, std::string& folder)
{
    command.add_option("--backup-dir", folder,
                       "copy each plug-in as it was into this folder before its first change "
                       "(below it, the path the plug-in has below its tags directory); default: no backup");
}

}  // namespace tagwarden::cli
