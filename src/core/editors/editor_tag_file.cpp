#include "core/editors/editor_tag_file.h"

#include "core/prompt/prompter.h"
#include "core/settings/settings_store.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

using namespace tag_header;

EditorTagFile::EditorTagFile(SettingsStore& settings, Prompter& prompter) : settings_(settings), prompter_(prompter) {}

EditorTagFile::~EditorTagFile() = default;

std::string EditorTagFile::startFolder(const std::string& folder) const
{
    std::string path = settings_.readString(settings::kSection, settings::kTagsDirectory);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += "local/";
    if (!folder.empty())
        path += folder + '/';
    return path;
}

bool EditorTagFile::chooseAndOpen(const std::string& folder)
{
    Prompter::FileRequest request;
    request.kind = Prompter::FileRequest::Kind::Open;
    request.initialName = startFolder(folder);
    request.filter = kPlugInFilter;
    request.mustExist = true;
    const auto chosen = prompter_.chooseFile(request);
    if (!chosen)
        return false;
    file_.close();
    file_ = File(*chosen, File::Access::ReadWrite, File::Share::DenyWrite);
    return true;
}

bool EditorTagFile::readHeader()
{
    if (!file_.isOpen())
        return false;
    file_.seek(0);
    TagHeaderBytes read{};
    if (file_.read(read.data(), read.size()) < read.size())
        return false;
    header_ = read;
    name_ = fieldText(header_, kName);
    type_ = fieldText(header_, kType);
    id_ = fieldText(header_, kId);
    dataLength_ = fieldNumber(header_, kDataLength);
    return true;
}

void EditorTagFile::storeHeaderFields()
{
    setFieldText(header_, kName, name_);
    setFieldText(header_, kId, id_);
    setFieldNumber(header_, kDataLength, dataLength_);
}

bool EditorTagFile::writeTag(std::span<const std::uint8_t> data)
{
    if (data.size() != dataLength_) {
        tell(kLengthMismatchMessage);
        return false;
    }
    try {
        file_.seek(0);
        file_.write(header_.data(), header_.size());
        file_.write(data.data(), data.size());
    } catch (const FileError& error) {
        tell(error.what());
        return false;
    }
    return true;
}

EditorTagFile::OpenOutcome EditorTagFile::openPlugIn(const std::string& type)
{
    try {
        if (!chooseAndOpen(type))
            return OpenOutcome::Cancelled;
        if (!readHeader()) {
            refuse(tooShortMessage(file_.length(), kTagHeaderSize, "a tag header"));
            return OpenOutcome::Refused;
        }
    } catch (const FileError& error) {
        refuse(error.what());
        return OpenOutcome::Refused;
    }
    if (upToNul(type_) != type) {
        refuse("This Editor cannot currently edit " + std::string(upToNul(type_)) + " type objects");
        return OpenOutcome::Refused;
    }
    return OpenOutcome::Opened;
}

EditorTagFile::Started EditorTagFile::openAndRead(const std::string& type, std::optional<std::uint32_t> size)
{
    const OpenOutcome outcome = openPlugIn(type);
    if (outcome != OpenOutcome::Opened)
        return {outcome, std::nullopt};
    return {outcome, readData(size.value_or(dataLength_))};
}

std::optional<std::vector<std::uint8_t>> EditorTagFile::readData(std::uint32_t size)
{
    const std::uint64_t needed = kTagHeaderSize + std::uint64_t{size};
    try {
        // The length is checked before anything is allocated: a header may claim 4 GB.
        const std::uint64_t length = file_.length();
        if (length >= needed) {
            std::vector<std::uint8_t> data(size);
            file_.seek(kTagHeaderSize);
            if (file_.read(data.data(), data.size()) == data.size())
                return data;
        }
        refuse(tooShortMessage(length, needed, "the 64-byte tag header and " + std::to_string(size) + " bytes of data"));
    } catch (const FileError& error) {
        refuse(error.what());
    }
    return std::nullopt;
}

void EditorTagFile::tell(const std::string& text) const { prompter_.message(text); }

void EditorTagFile::refuse(const std::string& text)
{
    tell(text);
    file_.close();
}

std::string EditorTagFile::tooShortMessage(std::uint64_t length, std::uint64_t needed, const std::string& what) const
{
    return "The file \"" + file_.path() + "\" is too short to edit: it holds " + std::to_string(length) +
           " bytes, but needs " + std::to_string(needed) + " for " + what + ". The file was left unchanged.";
}

}  // namespace tagwarden
