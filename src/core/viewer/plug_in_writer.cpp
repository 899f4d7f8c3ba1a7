#include "core/viewer/plug_in_writer.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/io/safe_writer.h"
#include "core/io/utf8_path.h"
#include "core/prompt/prompter.h"
#include "core/tags/tag_entry.h"
#include "core/viewer/proposed_folder.h"

namespace tagwarden {

namespace {

constexpr std::string_view kArchiveName = "tags.gor";
constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
// Where a folder name ends: "/" here, either slash on Windows.
constexpr std::string_view kSeparators = kSeparator == '/' ? "/" : "\\/";

bool unfitForFileName(unsigned char byte) { return byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\'; }

}  // namespace

std::string plugInFileName(std::string_view field)
{
    while (!field.empty() && field.back() == '\0')
        field.remove_suffix(1);
    std::string name;
    for (char c : field)
        name += unfitForFileName(static_cast<unsigned char>(c)) ? '_' : c;
    if (name.empty() || name == "." || name == "..")
        name.assign(std::max<std::size_t>(name.size(), 1), '_');
    return name;
}

std::string proposedPlugInFolder(const std::string& openFilePath, std::string_view type)
{
    std::string folder;
    if (openFilePath.ends_with(kArchiveName)) {
        folder = openFilePath.substr(0, openFilePath.size() - kArchiveName.size());
    } else {
        const auto slash = openFilePath.find_last_of(kSeparators);
        folder = slash == std::string::npos ? std::string{} : openFilePath.substr(0, slash + 1);
    }
    return folder + "local" + kSeparator + plugInFileName(type);
}

std::string plugInPath(const std::string& folder, std::string_view field)
{
    return folder + kSeparator + plugInFileName(field);
}

std::string proposedPlugInName(const std::string& openFilePath, const TagEntry& entry)
{
    return plugInPath(proposedPlugInFolder(openFilePath, entry.type()), entry.id());
}

PlugInWriter::PlugInWriter(const ByteSource& source, const TagEntry& entry, std::string sourcePath, Existing existing,
                           File::Wrap wrap)
    : source_(source), entry_(entry), sourcePath_(std::move(sourcePath)), existing_(existing), wrap_(std::move(wrap))
{
}

namespace {

Notice couldNotCreate(const FileError& error)
{
    return {std::string(kPlugInNotOpenedMessage) + ": " + error.what(), Prompter::Buttons::OkCancel};
}

Notice alreadyExists() { return {kPlugInExistsMessage, Prompter::Buttons::OkCancel}; }

Notice archiveChanged() { return {kArchiveChangedMessage, Prompter::Buttons::Ok, Prompter::Icon::Error}; }

}  // namespace

Reported<bool> PlugInWriter::writePlugIn(Prompter& asker)
{
    const ProposedFolder folder(pathFromUtf8(proposedPlugInFolder(sourcePath_, entry_.type())));
    const std::optional<std::string> target = choosePlugInFile(asker);
    if (!target)
        return {false, {}};
    return writePlugInTo(*target);
}

Reported<bool> PlugInWriter::writePlugInTo(const std::string& target)
{
    targetPath_ = target;
    sourceChanged_ = false;
    try {
        if (!headerAsListed())
            return {false, {archiveChanged()}};
    } catch (const FileError& error) {
        return {false, {{error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error}}};
    }
    if (std::optional<Notice> refusal = claimTarget())
        return {false, {std::move(*refusal)}};
    std::unique_ptr<SafeWriter> writer;
    try {
        writer = std::make_unique<SafeWriter>(targetPath_, File::Share::DenyWrite, wrap_);
    } catch (const FileError& error) {
        // Named after the target: the new file beside it is the writer's own business.
        return {false, {couldNotCreate(FileError(error.cause(), targetPath_, error.detail()))}};
    }
    try {
        if (write(*writer))
            return {true, {}};
        return {false, {archiveChanged()}};
    } catch (const FileError& error) {
        if (error.cause() == FileErrorCause::AlreadyExists && error.path() == targetPath_)
            return {false, {alreadyExists()}};  // the name was taken while the plug-in was written
        return {false, {{error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error}}};
    }
}

std::optional<std::string> PlugInWriter::choosePlugInFile(Prompter& asker) const
{
    Prompter::FileRequest request;
    request.kind = Prompter::FileRequest::Kind::Save;
    request.initialName = proposedPlugInName(sourcePath_, entry_);
    request.filter = kPlugInFilter;
    request.mustExist = false;
    return asker.chooseFile(request);
}

// Decides what the target may be: a free name, an empty file (or any regular file
// when replacing), which is then held until its replacement is in place.
std::optional<Notice> PlugInWriter::claimTarget()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(pathFromUtf8(targetPath_), error);
    if (status.type() == fs::file_type::not_found)
        return std::nullopt;
    try {
        if (error)
            throw FileError(FileErrorCause::Other, targetPath_, error.message());
        if (status.type() == fs::file_type::symlink)
            return alreadyExists();  // a link is never written through
        replaced_ = File(targetPath_, File::Access::ReadWrite, File::Share::DenyWrite);
    } catch (const FileError& failure) {
        return couldNotCreate(failure);
    }
    if (replaced_.length() == 0 || existing_ == Existing::Replace)
        return std::nullopt;
    replaced_.close();
    return alreadyExists();
}

bool PlugInWriter::write(SafeWriter& writer)
{
    writeHeader(writer.bytes());
    copyData(writer.bytes());
    // Asked again after the copy: a rewrite that came while the data was copied shows here.
    if (!headerAsListed())
        return false;
    writer.commit(replaced_.isOpen() ? File::Place::Replace : File::Place::OnlyIfFree);
    replaced_.close();
    return true;
}

bool PlugInWriter::headerAsListed()
{
    TagHeaderBytes header{};
    readExactly(entry_.headerPosition(), header.data(), header.size());
    sourceChanged_ = header != entry_.header();
    return !sourceChanged_;
}

void PlugInWriter::writeHeader(ByteSource& plugIn)
{
    TagHeaderBytes header = entry_.header();
    setFieldNumber(header, tag_header::kStartAddress, static_cast<std::uint32_t>(kTagHeaderSize));
    plugIn.writeAt(0, header.data(), header.size());
}

void PlugInWriter::copyData(ByteSource& plugIn)
{
    std::uint8_t buffer[kCopyPiece];
    std::uint64_t position = entry_.startAddress();
    for (std::uint64_t done = 0; done < entry_.dataLength();) {
        const std::uint64_t remaining = entry_.dataLength() - done;
        const std::size_t piece = remaining < kCopyPiece ? static_cast<std::size_t>(remaining) : kCopyPiece;
        readExactly(position + done, buffer, piece);
        plugIn.writeAt(kTagHeaderSize + done, buffer, piece);
        done += piece;
    }
}

// A source that ends early would give a plug-in shorter than its header says.
void PlugInWriter::readExactly(std::uint64_t position, std::uint8_t* buffer, std::size_t size)
{
    if (source_.readAt(position, buffer, size) < size)
        throw FileError(FileErrorCause::EndOfFile, sourcePath_);
}

}  // namespace tagwarden
