#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/io/buffered_file.h"
#include "core/mesh/item_type.h"
#include "core/mesh/mesh_cell.h"
#include "core/mesh/mesh_header.h"
#include "core/mesh/mesh_item.h"
#include "core/prompt/prompter.h"
#include "core/tags/tag_header.h"

namespace tagwarden {

// Why a map cannot be loaded from a file of `fileLength` bytes whose headers are
// given, or nothing when its cell grid, tables and sections all lie inside the file.
[[nodiscard]] std::optional<std::string> meshLayoutProblem(const MeshHeader& header, std::uint64_t fileLength);

// The text for a failed write to the map's file.
[[nodiscard]] std::string writeFailureText(const FileError& error);

// One map plug-in file in memory: the tag header, the map header, the cell grid,
// the item types, the placed items and three sections nobody interprets. It edits
// the file it was loaded from in place.
class MeshModel {
public:
    static constexpr std::size_t kCellBlock = 16;  // width and height count blocks of 16 cells

    explicit MeshModel(std::unique_ptr<BufferedFile> file);

    // Reads the whole map (once). A map that does not fit in its file is refused with the
    // reason, before anything is allocated for it or read from beyond the file's end.
    // Throws FileError when the file cannot be read.
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
    [[nodiscard]] BufferedFile& file() { return *file_; }

    // List editing; the header's counts and lengths follow.
    ItemType& addItemType();
    MeshItem& addItem();
    bool removeItemType(const ItemType& type);
    bool removeItem(const MeshItem& item);

    // Lays tables and sections out back to back from `typesBase`.
    void layoutOffsets();
    // Bytes of tag data the writer puts behind the tag header.
    [[nodiscard]] std::uint32_t dataLength() const;

    // Writes the whole map back from the start of the file, flushes, and tells the
    // user the outcome. True when every byte reached the file.
    [[nodiscard]] bool writeMap(Prompter& prompter);
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
    [[nodiscard]] bool writeAll();
    // The headers as the writer puts them: offsets laid out, the tag's data length the map's.
    void fitForWriting(TagHeaderBytes& tagHeader, MeshHeader& header) const;
    // The bytes an edit can change: both headers, the item types and the items.
    [[nodiscard]] std::vector<std::uint8_t> editableBytes(const TagHeaderBytes& tagHeader,
                                                          const MeshHeader& header) const;

    std::unique_ptr<BufferedFile> file_;
    TagHeaderBytes tagHeader_{};
    MeshHeader header_;
    std::vector<MeshCell> cells_;
    std::list<ItemType> itemTypes_;
    std::list<MeshItem> items_;
    std::array<std::optional<std::vector<std::uint8_t>>, 3> sections_;
    // editableBytes as last read or written.
    std::vector<std::uint8_t> onDisk_;
};

}  // namespace tagwarden
