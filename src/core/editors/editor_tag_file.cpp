#include "core/editors/editor_tag_file.h"

#include <utility>

#include "core/io/file.h"
#include "core/prompt/prompter.h"
#include "core/settings/settings_store.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

using namespace tag_header;

std::unique_ptr<ByteSource> EditorTagFile::openOnDisk(const std::string& path)
{
    return std::make_unique<File>(path, File::Access::ReadWrite, File::Share::DenyWrite);
}

namespace {

std::vector<std::uint8_t> tagBytes(const TagHeaderBytes& header, std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

}  // namespace

EditorTagFile::EditorTagFile(SettingsStore& settings, Prompter& prompter, Opener opener)
    : settings_(settings), prompter_(prompter), opener_(std::move(opener))
{
}

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
    const auto chosen = chosen_ ? std::exchange(chosen_, std::nullopt) : prompter_.chooseFile(request);
    if (!chosen)
        return false;
    file_.reset();
    file_ = opener_(*chosen);
    saveCheck_.remember(file_->path());
    return true;
}

bool EditorTagFile::readHeader()
{
    if (!file_)
        return false;
    TagHeaderBytes read{};
    if (file_->readAt(0, read.data(), read.size()) < read.size())
        return false;
    header_ = read;
    name_ = fieldText(header_, kName);
    type_ = fieldText(header_, kType);
    id_ = fieldText(header_, kId);
    dataLength_ = fieldNumber(header_, kDataLength);
    return true;
}

void EditorTagFile::storeHeaderFields() { header_ = headerWith(name_, id_, dataLength_); }

TagHeaderBytes EditorTagFile::headerWith(const std::string& name, const std::string& id, std::uint32_t dataLength) const
{
    TagHeaderBytes header = header_;
    setFieldText(header, kName, name);
    setFieldText(header, kId, id);
    setFieldNumber(header, kDataLength, dataLength);
    return header;
}

Reported<bool> EditorTagFile::writeTag(std::span<const std::uint8_t> data)
{
    if (data.size() != dataLength_)
        return {false, {{kLengthMismatchMessage}}};
    if (!saveCheck_.beforeSave(file_->path(), prompter_))
        return {false, {}};
    Reported<bool> backedUp = backup_.beforeSave(*file_, prompter_);
    if (!backedUp.value)
        return backedUp;
    Notices notices = std::move(backedUp.notices);
    try {
        const std::uint64_t end = file_->length();
        file_->replace([&](ByteSource& out) {
            out.writeAt(0, header_.data(), header_.size());
            out.writeAt(kTagHeaderSize, data.data(), data.size());
            copyBytes(*file_, out, kTagHeaderSize + data.size(), end);
        });
    } catch (const FileError& error) {
        notices.push_back({error.what()});
        return {false, std::move(notices)};
    }
    onDisk_ = tagBytes(header_, data);
    saveCheck_.remember(file_->path());
    return {true, std::move(notices)};
}

bool EditorTagFile::writeChanges(const TagHeaderBytes& header, std::span<const std::uint8_t> data) const
{
    return tagBytes(header, data) != onDisk_;
}

Reported<EditorTagFile::OpenOutcome> EditorTagFile::openPlugIn(const std::string& type)
{
    try {
        if (!chooseAndOpen(type))
            return {OpenOutcome::Cancelled, {}};
        if (!readHeader())
            return {OpenOutcome::Refused, {refuse(tooShortMessage(file_->length(), kTagHeaderSize, "a tag header"))}};
    } catch (const FileError& error) {
        return {OpenOutcome::Refused, {refuse(error.what())}};
    }
    if (upToNul(type_) != type)
        return {OpenOutcome::Refused,
                {refuse("This Editor cannot currently edit " + std::string(upToNul(type_)) + " type objects")}};
    return {OpenOutcome::Opened, {}};
}

Reported<EditorTagFile::Started> EditorTagFile::openAndRead(const std::string& type, std::optional<std::uint32_t> size)
{
    Reported<OpenOutcome> opened = openPlugIn(type);
    if (opened.value != OpenOutcome::Opened)
        return {{opened.value, std::nullopt}, std::move(opened.notices)};
    Reported<std::optional<std::vector<std::uint8_t>>> data = readData(size.value_or(dataLength_));
    return {{OpenOutcome::Opened, std::move(data.value)}, std::move(data.notices)};
}

Reported<std::optional<std::vector<std::uint8_t>>> EditorTagFile::readData(std::uint32_t size)
{
    const std::uint64_t needed = kTagHeaderSize + std::uint64_t{size};
    try {
        // The length is checked before anything is allocated: a header may claim 4 GB.
        const std::uint64_t length = file_->length();
        if (length >= needed) {
            std::vector<std::uint8_t> data(size);
            if (file_->readAt(kTagHeaderSize, data.data(), data.size()) == data.size()) {
                onDisk_ = tagBytes(header_, data);
                return {std::move(data), {}};
            }
        }
        const std::string what = "the 64-byte tag header and " + std::to_string(size) + " bytes of data";
        return {std::nullopt, {refuse(tooShortMessage(length, needed, what))}};
    } catch (const FileError& error) {
        return {std::nullopt, {refuse(error.what())}};
    }
}

Notice EditorTagFile::refuse(const std::string& text)
{
    file_.reset();
    return {text};
}

std::string EditorTagFile::tooShortMessage(std::uint64_t length, std::uint64_t needed, const std::string& what) const
{
    return "The file \"" + file_->path() + "\" is too short to edit: it holds " + std::to_string(length) +
           " bytes, but needs " + std::to_string(needed) + " for " + what + ". The file was left unchanged.";
}

}  // namespace tagwarden
