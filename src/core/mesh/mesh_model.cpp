#include "core/mesh/mesh_model.h"

#include <algorithm>


namespace tagwarden {

namespace {

constexpr std::int64_t kTagData = static_cast<std::int64_t>(kTagHeaderSize);
constexpr std::int64_t kTypeSize = static_cast<std::int64_t>(ItemType::kSize);
constexpr std::int64_t kItemSize = static_cast<std::int64_t>(MeshItem::kSize);
constexpr const char* kTooShortMessage = "ERROR - The file is too short to hold a map.";

struct SectionFields {
    MeshNumber offset;
    MeshNumber length;
};
constexpr std::array<SectionFields, 3> kSections{{{MeshNumber::section1Offset, MeshNumber::section1Length},
                                                  {MeshNumber::section2Offset, MeshNumber::section2Length},
                                                  {MeshNumber::section3Offset, MeshNumber::section3Length}}};

// Offsets and lengths wrap at 32 bits, as stored, instead of overflowing.
std::int32_t wrappingSum(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

void addTo(MeshHeader& header, MeshNumber field, std::int32_t amount)
{
    header.setNumber(field, wrappingSum(header.number(field), amount));
}

// Lays tables and sections out back to back from `typesBase`.
void layOut(MeshHeader& header)
{
    const auto follow = [&header](MeshNumber field, MeshNumber previous, MeshNumber previousLength) {
        header.setNumber(field, wrappingSum(header.number(previous), header.number(previousLength)));
    };
    header.setNumber(MeshNumber::typeOffset, header.number(MeshNumber::typesBase));
    follow(MeshNumber::itemOffset, MeshNumber::typeOffset, MeshNumber::typeLength);
    follow(MeshNumber::section1Offset, MeshNumber::itemOffset, MeshNumber::itemLength);
    follow(MeshNumber::section2Offset, MeshNumber::section1Offset, MeshNumber::section1Length);
    follow(MeshNumber::section3Offset, MeshNumber::section2Offset, MeshNumber::section2Length);
    follow(MeshNumber::dataEnd, MeshNumber::section3Offset, MeshNumber::section3Length);
}

template <typename Records>
void append(std::vector<std::uint8_t>& bytes, const Records& records)
{
    for (const auto& record : records)
        bytes.insert(bytes.end(), record.bytes().begin(), record.bytes().end());
}

std::int64_t cellsExpected(const MeshHeader& header)
{
    const std::int64_t columns = std::int64_t{header.number(MeshNumber::width)} * MeshModel::kCellBlock;
    const std::int64_t rows = std::int64_t{header.number(MeshNumber::height)} * MeshModel::kCellBlock;
    return columns * rows;
}

// Whether `size` bytes at `offset` in the data area lie inside the tag data of the file.
bool inside(const MeshHeader& header, std::int32_t offset, std::int64_t size, std::uint64_t fileLength)
{
    const std::int64_t start = kTagData + header.number(MeshNumber::meshOffset) + offset;
    return start >= kTagData && static_cast<std::uint64_t>(start + size) <= fileLength;
}

// Carries on writing until the first failure, after which nothing more is tried:
// one report instead of one per record.
class MapWriter {
public:
    explicit MapWriter(BufferedFile& file) : file_(file) {}
    void seek(std::uint64_t position) { ok_ = ok_ && file_.seek(position); }
    void put(const void* bytes, std::size_t count) { ok_ = ok_ && file_.write(bytes, count); }
    template <typename Records>
    void putAll(const Records& records)
    {
        for (const auto& record : records)
            put(record.bytes().data(), record.bytes().size());
    }
    [[nodiscard]] bool finish() { return ok_ && file_.flush(); }

private:
    BufferedFile& file_;
    bool ok_ = true;
};

}  // namespace

std::optional<std::string> meshLayoutProblem(const MeshHeader& header, std::uint64_t fileLength)
{
    if (fileLength < kTagHeaderSize + MeshHeader::kSize)
        return kTooShortMessage;
    if (header.number(MeshNumber::width) < 0 || header.number(MeshNumber::height) < 0)
        return "ERROR - The map's width or height is negative.";
    const std::int64_t cellBytes = cellsExpected(header) * static_cast<std::int64_t>(MeshCell::kSize);
    if (static_cast<std::uint64_t>(kTagData) + MeshHeader::kSize + static_cast<std::uint64_t>(cellBytes) > fileLength)
        return "ERROR - The map's cell grid reaches beyond the end of the file.";
    const std::int32_t types = header.number(MeshNumber::typeCount);
    if (types > 0 && !inside(header, header.number(MeshNumber::typeOffset), types * kTypeSize, fileLength))
        return "ERROR - The map's item-type table lies outside the file.";
    const std::int32_t items = header.number(MeshNumber::itemCount);
    if (items > 0 && !inside(header, header.number(MeshNumber::itemOffset), items * kItemSize, fileLength))
        return "ERROR - The map's item table lies outside the file.";
    for (std::size_t s = 0; s < kSections.size(); ++s) {
        const std::int32_t length = header.number(kSections[s].length);
        if (length > 0 && !inside(header, header.number(kSections[s].offset), length, fileLength))
            return "ERROR - Section " + std::to_string(s + 1) + " of the map lies outside the file.";
    }
    return std::nullopt;
}

std::string writeFailureText(const FileError& error)
{
    if (error.cause() == FileErrorCause::NotFound)
        return "File not found";
    return "unexplained file exception: " + std::to_string(static_cast<int>(error.cause()));
}

MeshModel::MeshModel(std::unique_ptr<BufferedFile> file) : file_(std::move(file)) {}

std::optional<std::string> MeshModel::load()
{
    const std::uint64_t fileLength = file_->fileLength();
    if (fileLength < kTagHeaderSize + MeshHeader::kSize)
        return kTooShortMessage;
    (void)file_->seek(0);  // nothing is buffered for writing yet
    readExactly(tagHeader_.data(), tagHeader_.size());
    readExactly(header_.bytes().data(), MeshHeader::kSize);
    if (auto problem = meshLayoutProblem(header_, fileLength))
        return problem;
    readCells();
    readRecords(itemTypes_, MeshNumber::typeCount, MeshNumber::typeOffset);
    readRecords(items_, MeshNumber::itemCount, MeshNumber::itemOffset);
    readSections();
    onDisk_ = editableBytes(tagHeader_, header_);
    return std::nullopt;
}

void MeshModel::readExactly(void* destination, std::size_t count)
{
    if (file_->read(destination, count) != count)
        throw FileError(FileErrorCause::EndOfFile, file_->path());
}

void MeshModel::seekTo(std::int64_t tableOffset)
{
    (void)file_->seek(static_cast<std::uint64_t>(kTagData + header_.number(MeshNumber::meshOffset) + tableOffset));
}

void MeshModel::readCells()
{
    // The grid follows the header whatever the mesh offset says.
    cells_.resize(static_cast<std::size_t>(cellsExpected(header_)));
    for (MeshCell& cell : cells_)
        readExactly(cell.bytes().data(), MeshCell::kSize);
}

template <typename Record>
void MeshModel::readRecords(std::list<Record>& records, MeshNumber count, MeshNumber offset)
{
    const std::int32_t wanted = header_.number(count);
    if (wanted <= 0)
        return;
    seekTo(header_.number(offset));
    for (std::int32_t i = 0; i < wanted; ++i)
        readExactly(records.emplace_back().bytes().data(), Record::kSize);
}

void MeshModel::readSections()
{
    for (std::size_t s = 0; s < kSections.size(); ++s) {
        const std::int32_t length = header_.number(kSections[s].length);
        if (length <= 0)
            continue;
        seekTo(header_.number(kSections[s].offset));
        auto& section = sections_[s].emplace(static_cast<std::size_t>(length));
        readExactly(section.data(), section.size());
    }
}

ItemType& MeshModel::addItemType()
{
    addTo(header_, MeshNumber::typeCount, 1);
    addTo(header_, MeshNumber::typeLength, static_cast<std::int32_t>(kTypeSize));
    return itemTypes_.emplace_back();
}

MeshItem& MeshModel::addItem()
{
    addTo(header_, MeshNumber::itemCount, 1);
    addTo(header_, MeshNumber::itemLength, static_cast<std::int32_t>(kItemSize));
    return items_.emplace_back();
}

bool MeshModel::removeItemType(const ItemType& type)
{
    const auto it = std::find_if(itemTypes_.begin(), itemTypes_.end(), [&](const ItemType& t) { return &t == &type; });
    if (it == itemTypes_.end())
        return false;
    itemTypes_.erase(it);
    addTo(header_, MeshNumber::typeCount, -1);
    addTo(header_, MeshNumber::typeLength, -static_cast<std::int32_t>(kTypeSize));
    return true;
}

bool MeshModel::removeItem(const MeshItem& item)
{
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const MeshItem& i) { return &i == &item; });
    if (it == items_.end())
        return false;
    items_.erase(it);
    addTo(header_, MeshNumber::itemCount, -1);
    addTo(header_, MeshNumber::itemLength, -static_cast<std::int32_t>(kItemSize));
    return true;
}

void MeshModel::layoutOffsets() { layOut(header_); }

std::uint32_t MeshModel::dataLength() const
{
    std::uint64_t length = MeshHeader::kSize + cells_.size() * MeshCell::kSize + itemTypes_.size() * ItemType::kSize +
                           items_.size() * MeshItem::kSize;
    for (const auto& section : sections_)
        length += section ? section->size() : 0;
    return static_cast<std::uint32_t>(length);
}

void MeshModel::fitForWriting(TagHeaderBytes& tagHeader, MeshHeader& header) const
{
    layOut(header);
    // The game reads as much tag data as the tag header says: make it the edited map's.
    setFieldNumber(tagHeader, tag_header::kDataLength, dataLength());
}

std::vector<std::uint8_t> MeshModel::editableBytes(const TagHeaderBytes& tagHeader, const MeshHeader& header) const
{
    std::vector<std::uint8_t> bytes(tagHeader.begin(), tagHeader.end());
    bytes.insert(bytes.end(), header.bytes().begin(), header.bytes().end());
    append(bytes, itemTypes_);
    append(bytes, items_);
    return bytes;
}

bool MeshModel::writeChanges(TagHeaderBytes tagHeader, MeshHeader header) const
{
    fitForWriting(tagHeader, header);
    return editableBytes(tagHeader, header) != onDisk_;
}

bool MeshModel::writeMap(Prompter& prompter)
{
    fitForWriting(tagHeader_, header_);
    if (!writeAll()) {
        const FileError error = file_->lastError().value_or(FileError(FileErrorCause::Other, file_->path()));
        prompter.message(writeFailureText(error));
        prompter.message("ERROR - The map was not written completely.\n" + std::string(error.what()), Prompter::Buttons::Ok,
                         Prompter::Icon::Error);
        return false;
    }
    onDisk_ = editableBytes(tagHeader_, header_);
    prompter.message("Mesh File Successfully written!");
    return true;
}

bool MeshModel::writeAll()
{
    MapWriter writer(*file_);
    writer.seek(0);
    writer.put(tagHeader_.data(), tagHeader_.size());
    writer.put(header_.bytes().data(), MeshHeader::kSize);
    writer.putAll(cells_);
    writer.putAll(itemTypes_);
    writer.putAll(items_);
    for (const auto& section : sections_)
        if (section)
            writer.put(section->data(), section->size());
    return writer.finish();
}

}  // namespace tagwarden
