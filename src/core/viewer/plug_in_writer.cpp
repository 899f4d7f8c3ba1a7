#include "core/viewer/plug_in_writer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/prompt/prompter.h"
#include "core/tags/tag_entry.h"

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

PlugInWriter::PlugInWriter(const ByteSource& source, const TagEntry& entry, std::string sourcePath, Prompter& prompter)
    : source_(source), entry_(entry), sourcePath_(std::move(sourcePath)), prompter_(prompter)
{
}

bool PlugInWriter::writePlugIn()
{
    if (!choosePlugInFile())
        return false;
    try {
        writeHeader();
        copyData();
        closePlugIn();
        return true;
    } catch (const FileError& error) {
        discardPlugIn();
        prompter_.message(error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error);
        return false;
    }
}

bool PlugInWriter::choosePlugInFile()
{
    Prompter::FileRequest request;
    request.kind = Prompter::FileRequest::Kind::Save;
    request.initialName = proposedPlugInName(sourcePath_, entry_);
    request.filter = kPlugInFilter;
    request.mustExist = false;
    const auto chosen = prompter_.chooseFile(request);
    if (!chosen)
        return false;

    std::error_code ignored;
    targetExisted_ = std::filesystem::exists(*chosen, ignored);
    try {
        target_ = File(*chosen, File::Access::Write, File::Share::DenyWrite);
        targetPath_ = *chosen;
        if (target_.length() == 0)
            return true;
    } catch (const FileError&) {
        target_.close();
        prompter_.message(kPlugInNotOpenedMessage, Prompter::Buttons::OkCancel);
        return false;
    }
    target_.close();
    prompter_.message(kPlugInExistsMessage, Prompter::Buttons::OkCancel);
    return false;
}

void PlugInWriter::writeHeader()
{
    TagHeaderBytes header{};
    readExactly(entry_.headerPosition(), header.data(), header.size());
    setFieldNumber(header, tag_header::kStartAddress, static_cast<std::uint32_t>(kTagHeaderSize));
    target_.write(header.data(), header.size());
}

void PlugInWriter::copyData()
{
    std::uint8_t buffer[kCopyPiece];
    std::uint64_t position = entry_.startAddress();
    for (std::uint64_t remaining = entry_.dataLength(); remaining > 0;) {
        const std::size_t piece = remaining < kCopyPiece ? static_cast<std::size_t>(remaining) : kCopyPiece;
        readExactly(position, buffer, piece);
        target_.write(buffer, piece);
        position += piece;
        remaining -= piece;
    }
}

// A source that ends early would give a plug-in shorter than its header says.
void PlugInWriter::readExactly(std::uint64_t position, std::uint8_t* buffer, std::size_t size)
{
    if (source_.readAt(position, buffer, size) < size)
        throw FileError(FileErrorCause::EndOfFile, sourcePath_);
}

void PlugInWriter::closePlugIn() { target_.close(); }

// The target was new or empty when it was chosen: put it back that way.
void PlugInWriter::discardPlugIn()
{
    target_.close();
    std::error_code ignored;
    if (targetExisted_)
        std::filesystem::resize_file(targetPath_, 0, ignored);
    else
        std::filesystem::remove(targetPath_, ignored);
}

}  // namespace tagwarden
