#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/editors/plug_in_backup.h"
#include "core/editors/plug_in_save_check.h"
#include "core/io/buffered_file.h"
#include "core/mesh/item_type.h"
#include "core/mesh/mesh_cell.h"
#include "core/mesh/mesh_header.h"
#include "core/mesh/mesh_item.h"
#include "core/prompt/notice.h"
#include "core/tags/tag_header.h"

namespace tagwarden {

// Why a map cannot be edited, or nothing when it can: its parts (the cell grid,
// the item-type table, the item table, sections 1 to 3) must lie back to back as
// the map writer lays them out, with counts, lengths and offsets that agree,
// inside its tag (`tagDataLength` bytes of data) and inside the file
// (`fileLength` bytes). Only such a map comes back from a save as it was read.
[[nodiscard]] std::optional<std::string> meshLayoutProblem(const MeshHeader& header, std::uint32_t tagDataLength,
                                                           std::uint64_t fileLength);

// The text for a failed write to the map's file.
[[nodiscard]] std::string writeFailureText(const FileError& error);

// The two headers of a map, as one value: what the map form edits.
struct MeshHeaders {
    TagHeaderBytes tag{};
    MeshHeader map;
    [[nodiscard]] bool operator==(const MeshHeaders& other) const
    {
        return tag == other.tag && map.bytes() == other.map.bytes();
    }
};

// A record taken out of its list with the place it held. The list node itself is
// kept, so that the record goes back at the same address and place.
template <typename Record>
struct TakenRecord {
    std::list<Record> node;
    std::size_t index = 0;
};

// One map plug-in file in memory: the tag header, the map header, the cell grid,
// the item types, the placed items, three sections nobody interprets and the bytes
// behind the last section. A save replaces the file whole (ByteSource::replace).
class MeshModel {
public:
    static constexpr std::size_t kCellBlock = 16;  // width and height count blocks of 16 cells

    // With a `backup`, the first save backs the file up before it writes.
    explicit MeshModel(std::unique_ptr<BufferedFile> file, std::optional<PlugInBackup> backup = std::nullopt);

    // Reads the whole map (once). A file that holds no mesh tag, or a map that
    // meshLayoutProblem refuses, is refused with the reason, before anything is
    // allocated for it. Throws FileError when the file cannot be read.
    [[nodiscard]] std::optional<std::string> load();

    [[nodiscard]] TagHeaderBytes& tagHeader() { return tagHeader_; }
    [[nodiscard]] MeshHeader& header() { return header_; }
    [[nodiscard]] const MeshHeader& header() const { return header_; }
    [[nodiscard]] const std::vector<MeshCell>& cells() const { return cells_; }
    [[nodiscard]] std::list<ItemType>& itemTypes() { return itemTypes_; }
    [[nodiscard]] const std::list<ItemType>& itemTypes() const { return itemTypes_; }
    [[nodiscard]] std::list<MeshItem>& items() { return items_; }
    [[nodiscard]] const std::list<MeshItem>& items() const { return items_; }
    // Section 1..3: present when its stored length was above 0.
    [[nodiscard]] const std::optional<std::vector<std::uint8_t>>& section(int number) const
    {
        return sections_.at(static_cast<std::size_t>(number - 1));
    }
    // The file's bytes behind the last section, written back as read.
    [[nodiscard]] const std::vector<std::uint8_t>& tail() const { return tail_; }
    [[nodiscard]] BufferedFile& file() { return *file_; }

    [[nodiscard]] MeshHeaders headers() const { return {tagHeader_, header_}; }
    void setHeaders(const MeshHeaders& headers);

    // List editing; the header's counts and lengths follow.
    ItemType& addItemType();
    MeshItem& addItem();
    bool removeItemType(const ItemType& type);
    bool removeItem(const MeshItem& item);
    // Take a record out (nothing when it is not in the map) and put it back where it was.
    [[nodiscard]] std::optional<TakenRecord<ItemType>> takeItemType(const ItemType& type);
    [[nodiscard]] std::optional<TakenRecord<MeshItem>> takeItem(const MeshItem& item);
    void putBack(TakenRecord<ItemType>& taken);
    void putBack(TakenRecord<MeshItem>& taken);
    // The placed items that belong to `type` and to no other item type: those
    // that would be left without a type if it went.
    [[nodiscard]] std::vector<const MeshItem*> itemsOnlyOf(const ItemType& type) const;
    // Puts the headers and both lists back to what the file holds (as last read or
    // written). Records held before are gone: every record is a new one.
    void revert();

    // Lays tables and sections out back to back from `typesBase`.
    void layoutOffsets();
    // The tag's length of data as the writer stores it: the map's bytes, and as many
    // of the bytes behind them as the tag held when it was read.
    [[nodiscard]] std::uint32_t dataLength() const;

    // Writes the whole map in place of the file; the notices tell the outcome,
    // after the backup's. Its question, and PlugInSaveCheck's (a file changed by
    // another program, a file of several names), go to `asker`. True when it was
    // saved; the file is as it was otherwise (or, when only the final sync failed,
    // as saved).
    [[nodiscard]] Reported<bool> writeMap(Prompter& asker);
    // Whether writing the map with these headers (and the lists as they are)
    // would put other bytes into the file than it held when last read or written.
    [[nodiscard]] bool writeChanges(TagHeaderBytes tagHeader, MeshHeader header) const;

private:
    void readExactly(void* destination, std::size_t count);
    void seekTo(std::int64_t tableOffset);
    void readCells();
    template <typename Record>
    void readRecords(std::list<Record>& records, MeshNumber count, MeshNumber offset);
    void readSections();
    void readTail(std::uint64_t fileLength);
    template <typename Record>
    std::optional<TakenRecord<Record>> take(std::list<Record>& records, const Record& record, MeshNumber count,
                                            MeshNumber length);
    template <typename Record>
    void putBack(std::list<Record>& records, TakenRecord<Record>& taken, MeshNumber count, MeshNumber length);
    // The map's bytes behind the tag header, tail left out.
    [[nodiscard]] std::uint64_t mapLength() const;
    // The whole file as the writer lays it out, into `out`.
    void writeAll(ByteSource& out) const;
    // The headers as the writer puts them: offsets laid out, the tag's data length the map's.
    void fitForWriting(TagHeaderBytes& tagHeader, MeshHeader& header) const;
    // The bytes an edit can change: both headers, the item types and the items.
    [[nodiscard]] std::vector<std::uint8_t> editableBytes(const TagHeaderBytes& tagHeader,
                                                          const MeshHeader& header) const;

    std::unique_ptr<BufferedFile> file_;
    std::optional<PlugInBackup> backup_;
    PlugInSaveCheck saveCheck_;
    TagHeaderBytes tagHeader_{};
    MeshHeader header_;
    std::vector<MeshCell> cells_;
    std::list<ItemType> itemTypes_;
    std::list<MeshItem> items_;
    std::array<std::optional<std::vector<std::uint8_t>>, 3> sections_;
    std::vector<std::uint8_t> tail_;
    // How many bytes of the tail belong to the tag: its length of data less the map's.
    std::uint64_t tagTail_ = 0;
    // editableBytes as last read or written.
    std::vector<std::uint8_t> onDisk_;
};

}  // namespace tagwarden
