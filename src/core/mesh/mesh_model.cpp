#include "core/mesh/mesh_model.h"

#include <algorithm>

#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

constexpr std::int64_t kTagData = static_cast<std::int64_t>(kTagHeaderSize);
constexpr std::int64_t kHeaderSize = static_cast<std::int64_t>(MeshHeader::kSize);
constexpr std::int64_t kTypeSize = static_cast<std::int64_t>(ItemType::kSize);
constexpr std::int64_t kItemSize = static_cast<std::int64_t>(MeshItem::kSize);
constexpr const char* kTooShortMessage = "ERROR - The file is too short to hold a map.";
constexpr const char* kMeshType = "mesh";

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

// A part of the map's tag data: where it starts (from the start of the tag data) and how long it is.
struct Part {
    std::string name;
    std::int64_t start;
    std::int64_t length;
};

// The parts in the order the writer lays them out.
std::vector<Part> partsOf(const MeshHeader& header)
{
    const auto number = [&header](MeshNumber field) { return std::int64_t{header.number(field)}; };
    const std::int64_t area = number(MeshNumber::meshOffset);  // where table and section offsets count from
    std::vector<Part> parts{
        {"cell grid", kHeaderSize, cellsExpected(header) * static_cast<std::int64_t>(MeshCell::kSize)},
        {"item-type table", area + number(MeshNumber::typeOffset), number(MeshNumber::typeLength)},
        {"item table", area + number(MeshNumber::itemOffset), number(MeshNumber::itemLength)},
    };
    for (std::size_t s = 0; s < kSections.size(); ++s)
        parts.push_back({"section " + std::to_string(s + 1), area + number(kSections[s].offset),
                         number(kSections[s].length)});
    return parts;
}

struct Named {
    MeshNumber field;
    const char* name;
};
constexpr Named kNonNegative[] = {
    {MeshNumber::width, "width"},
    {MeshNumber::height, "height"},
    {MeshNumber::typeCount, "item-type count"},
    {MeshNumber::typeLength, "item-type table length"},
    {MeshNumber::itemCount, "item count"},
    {MeshNumber::itemLength, "item table length"},
    {MeshNumber::section1Length, "section 1 length"},
    {MeshNumber::section2Length, "section 2 length"},
    {MeshNumber::section3Length, "section 3 length"},
};

std::string numberText(std::int64_t value) { return std::to_string(value); }

std::optional<std::string> countProblem(const MeshHeader& header)
{
    for (const Named& named : kNonNegative)
        if (header.number(named.field) < 0)
            return "ERROR - The map's " + std::string(named.name) + " is negative (" +
                   numberText(header.number(named.field)) + ").";
    const auto sized = [&header](MeshNumber length, MeshNumber count, std::int64_t size, const char* what,
                                 const char* counted) -> std::optional<std::string> {
        if (std::int64_t{header.number(length)} == size * header.number(count))
            return std::nullopt;
        return "ERROR - The map's " + std::string(what) + " length (" + numberText(header.number(length)) +
               ") is not " + numberText(size) + " times its " + counted + " (" + numberText(header.number(count)) +
               ").";
    };
    if (auto problem = sized(MeshNumber::typeLength, MeshNumber::typeCount, kTypeSize, "item-type table",
                             "item-type count"))
        return problem;
    if (auto problem = sized(MeshNumber::itemLength, MeshNumber::itemCount, kItemSize, "item table", "item count"))
        return problem;
    if (header.number(MeshNumber::typeOffset) != header.number(MeshNumber::typesBase))
        return "ERROR - The map's item-type table offset (" + numberText(header.number(MeshNumber::typeOffset)) +
               ") differs from its item-type base (" + numberText(header.number(MeshNumber::typesBase)) + ").";
    return std::nullopt;
}

// Carries on writing until the first failure, after which nothing more is tried:
// one report instead of one per record.
class MapWriter {
public:
    explicit MapWriter(BufferedFile& file) : file_(file) {}
    void put(const void* bytes, std::size_t count) { ok_ = ok_ && file_.write(bytes, count); }
    template <typename Records>
    void putAll(const Records& records)
    {
        for (const auto& record : records)
            put(record.bytes().data(), record.bytes().size());
    }
    // Flushes; throws the first failure.
    void finish()
    {
        if (!(ok_ && file_.flush()))
            throw file_.lastError().value_or(FileError(FileErrorCause::Other, file_.path()));
    }

private:
    BufferedFile& file_;
    bool ok_ = true;
};

}  // namespace

std::optional<std::string> meshLayoutProblem(const MeshHeader& header, std::uint32_t tagDataLength,
                                             std::uint64_t fileLength)
{
    if (fileLength < static_cast<std::uint64_t>(kTagData + kHeaderSize))
        return kTooShortMessage;
    if (auto problem = countProblem(header))
        return problem;
    const auto room = static_cast<std::int64_t>(fileLength) - kTagData;
    std::int64_t end = kHeaderSize;
    std::string previous = "header";
    for (const Part& part : partsOf(header)) {
        if (part.start < end)
            return "ERROR - The map's " + part.name + " overlaps its " + previous + ".";
        if (part.start > end)
            return "ERROR - The map's " + part.name + " does not follow its " + previous + ": " +
                   numberText(part.start - end) + " bytes lie between them.";
        end += part.length;
        if (end > room)
            return "ERROR - The map's " + part.name + " runs past the end of the file.";
        previous = part.name;
    }
    const std::int64_t dataEnd = std::int64_t{header.number(MeshNumber::meshOffset)} + header.number(MeshNumber::dataEnd);
    if (dataEnd != end)
        return "ERROR - The map's end of data (" + numberText(dataEnd) + ") is not the end of its section 3 (" +
               numberText(end) + ").";
    if (end > std::int64_t{tagDataLength})
        return "ERROR - The map runs past the end of its tag: the tag header gives " + numberText(tagDataLength) +
               " bytes of data, the map needs " + numberText(end) + ".";
    if (std::int64_t{tagDataLength} > room)
        return "ERROR - The tag runs past the end of the file: the tag header gives " + numberText(tagDataLength) +
               " bytes of data, the file holds " + numberText(room) + " behind the header.";
    return std::nullopt;
}

std::string writeFailureText(const FileError& error)
{
    if (error.cause() == FileErrorCause::NotFound)
        return "File not found";
    return "unexplained file exception: " + std::to_string(static_cast<int>(error.cause()));
}

MeshModel::MeshModel(std::unique_ptr<BufferedFile> file, std::optional<PlugInBackup> backup)
    : file_(std::move(file)), backup_(std::move(backup))
{
}

std::optional<std::string> MeshModel::load()
{
    const std::uint64_t fileLength = file_->fileLength();
    if (fileLength < kTagHeaderSize)
        return kTooShortMessage;
    (void)file_->seek(0);  // nothing is buffered for writing yet
    readExactly(tagHeader_.data(), tagHeader_.size());
    const std::string type(upToNul(fieldText(tagHeader_, tag_header::kType)));
    if (type != kMeshType)
        return "This Editor cannot currently edit " + type + " type objects";
    if (fileLength < kTagHeaderSize + MeshHeader::kSize)
        return kTooShortMessage;
    readExactly(header_.bytes().data(), MeshHeader::kSize);
    const std::uint32_t tagDataLength = fieldNumber(tagHeader_, tag_header::kDataLength);
    if (auto problem = meshLayoutProblem(header_, tagDataLength, fileLength))
        return problem;
    readCells();
    readRecords(itemTypes_, MeshNumber::typeCount, MeshNumber::typeOffset);
    readRecords(items_, MeshNumber::itemCount, MeshNumber::itemOffset);
    readSections();
    readTail(fileLength);
    tagTail_ = tagDataLength - mapLength();
    onDisk_ = editableBytes(tagHeader_, header_);
    saveCheck_.remember(file_->path());
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

void MeshModel::readTail(std::uint64_t fileLength)
{
    const std::uint64_t start = kTagHeaderSize + mapLength();
    (void)file_->seek(start);
    tail_.resize(static_cast<std::size_t>(fileLength - start));
    readExactly(tail_.data(), tail_.size());
}

void MeshModel::setHeaders(const MeshHeaders& headers)
{
    tagHeader_ = headers.tag;
    header_ = headers.map;
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

template <typename Record>
std::optional<TakenRecord<Record>> MeshModel::take(std::list<Record>& records, const Record& record, MeshNumber count,
                                                   MeshNumber length)
{
    const auto it = std::find_if(records.begin(), records.end(), [&](const Record& r) { return &r == &record; });
    if (it == records.end())
        return std::nullopt;
    TakenRecord<Record> taken;
    taken.index = static_cast<std::size_t>(std::distance(records.begin(), it));
    taken.node.splice(taken.node.end(), records, it);
    addTo(header_, count, -1);
    addTo(header_, length, -static_cast<std::int32_t>(Record::kSize));
    return taken;
}

template <typename Record>
void MeshModel::putBack(std::list<Record>& records, TakenRecord<Record>& taken, MeshNumber count, MeshNumber length)
{
    if (taken.node.empty())
        return;
    auto at = records.begin();
    std::advance(at, static_cast<std::ptrdiff_t>(std::min(taken.index, records.size())));
    records.splice(at, taken.node);
    addTo(header_, count, 1);
    addTo(header_, length, static_cast<std::int32_t>(Record::kSize));
}

std::optional<TakenRecord<ItemType>> MeshModel::takeItemType(const ItemType& type)
{
    return take(itemTypes_, type, MeshNumber::typeCount, MeshNumber::typeLength);
}

std::optional<TakenRecord<MeshItem>> MeshModel::takeItem(const MeshItem& item)
{
    return take(items_, item, MeshNumber::itemCount, MeshNumber::itemLength);
}

void MeshModel::putBack(TakenRecord<ItemType>& taken)
{
    putBack(itemTypes_, taken, MeshNumber::typeCount, MeshNumber::typeLength);
}

void MeshModel::putBack(TakenRecord<MeshItem>& taken)
{
    putBack(items_, taken, MeshNumber::itemCount, MeshNumber::itemLength);
}

bool MeshModel::removeItemType(const ItemType& type) { return takeItemType(type).has_value(); }

bool MeshModel::removeItem(const MeshItem& item) { return takeItem(item).has_value(); }

std::vector<const MeshItem*> MeshModel::itemsOnlyOf(const ItemType& type) const
{
    const auto typed = [this, &type](const MeshItem& item) {
        return std::any_of(itemTypes_.begin(), itemTypes_.end(),
                           [&](const ItemType& other) { return &other != &type && item.belongsTo(other); });
    };
    std::vector<const MeshItem*> users;
    for (const MeshItem& item : items_)
        if (item.belongsTo(type) && !typed(item))
            users.push_back(&item);
    return users;
}

void MeshModel::revert()
{
    // onDisk_ holds the tag header, the map header, the item types and the items back to back.
    auto at = onDisk_.cbegin();
    const auto copyInto = [&at](auto& bytes) {
        std::copy_n(at, bytes.size(), bytes.begin());
        at += static_cast<std::ptrdiff_t>(bytes.size());
    };
    copyInto(tagHeader_);
    copyInto(header_.bytes());
    const auto left = [&] { return static_cast<std::size_t>(onDisk_.cend() - at); };
    const auto refill = [&](auto& records, std::size_t count) {
        records.clear();
        for (std::size_t i = 0; i < count; ++i)
            copyInto(records.emplace_back().bytes());
    };
    const auto typeCount = static_cast<std::size_t>(std::max(header_.number(MeshNumber::typeCount), 0));
    refill(itemTypes_, std::min(typeCount, left() / ItemType::kSize));
    refill(items_, left() / MeshItem::kSize);
}

void MeshModel::layoutOffsets() { layOut(header_); }

std::uint64_t MeshModel::mapLength() const
{
    std::uint64_t length = MeshHeader::kSize + cells_.size() * MeshCell::kSize + itemTypes_.size() * ItemType::kSize +
                           items_.size() * MeshItem::kSize;
    for (const auto& section : sections_)
        length += section ? section->size() : 0;
    return length;
}

std::uint32_t MeshModel::dataLength() const { return static_cast<std::uint32_t>(mapLength() + tagTail_); }

void MeshModel::fitForWriting(TagHeaderBytes& tagHeader, MeshHeader& header) const
{
    layOut(header);
    // The game reads as much tag data as the tag header says: the edited map's, and what followed it in the tag.
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

Reported<bool> MeshModel::writeMap(Prompter& asker)
{
    Notices notices;
    if (!saveCheck_.beforeSave(file_->path(), asker))
        return {false, {}};
    if (backup_) {
        Reported<bool> backedUp = backup_->beforeSave(file_->source(), asker);
        if (!backedUp.value)
            return backedUp;
        notices = std::move(backedUp.notices);
    }
    fitForWriting(tagHeader_, header_);
    try {
        file_->source().replace([this](ByteSource& out) { writeAll(out); });
    } catch (const FileError& error) {
        notices.push_back({writeFailureText(error)});
        notices.push_back({"ERROR - The map was not saved safely.\n" + std::string(error.what()), Prompter::Buttons::Ok,
                           Prompter::Icon::Error});
        return {false, std::move(notices)};
    }
    (void)file_->seek(0);  // what was read ahead came from the file replaced
    onDisk_ = editableBytes(tagHeader_, header_);
    saveCheck_.remember(file_->path());
    notices.push_back({"Mesh File Successfully written!"});
    return {true, std::move(notices)};
}

void MeshModel::writeAll(ByteSource& out) const
{
    BufferedFile buffered(out, file_->bufferSize());
    MapWriter writer(buffered);
    writer.put(tagHeader_.data(), tagHeader_.size());
    writer.put(header_.bytes().data(), MeshHeader::kSize);
    writer.putAll(cells_);
    writer.putAll(itemTypes_);
    writer.putAll(items_);
    for (const auto& section : sections_)
        if (section)
            writer.put(section->data(), section->size());
    writer.put(tail_.data(), tail_.size());
    writer.finish();
}

}  // namespace tagwarden
