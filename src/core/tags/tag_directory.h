#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/tags/tag_entry.h"

namespace tagwarden {

class ByteSource;

// What the directory tells its owner (the main window, or the command-line tool)
// while it is filled and cleared.
class DirectoryObserver {
public:
    virtual ~DirectoryObserver() = default;
    virtual void addListLine(const TagEntry& entry, std::size_t index) = 0;
    virtual void setStatus(const std::string& text) = 0;
    virtual void refillTypeFilter() = 0;
};

struct GroupMember {
    std::array<char, 4> id{};
    std::int32_t index = 0;

    [[nodiscard]] std::string idText() const { return {id.data(), id.size()}; }
};

struct TypeGroup {
    std::string type;  // all four characters of the first entry of this type
    std::vector<GroupMember> members;

    [[nodiscard]] std::int32_t memberCount() const { return static_cast<std::int32_t>(members.size()); }
};

// The entries of the open file in file order and the index of ids by type.
class TagDirectory {
public:
    void setObserver(DirectoryObserver* observer) { observer_ = observer; }

    // Reads one header at `position`; false (and nothing kept) when it is not all there.
    bool appendEntry(const ByteSource& source, std::uint64_t position);
    // Adds an entry already read (the directory reader reads headers in blocks).
    void appendEntry(const TagHeaderBytes& header, std::uint64_t headerPosition);

    // Makes room for this many entries in all (the reader knows how many headers follow).
    void reserve(std::size_t entries);

    [[nodiscard]] std::size_t entryCount() const { return entries_.size(); }
    [[nodiscard]] const TagEntry& entryAt(std::size_t index) const { return entries_.at(index); }
    [[nodiscard]] TagEntry& entryAt(std::size_t index) { return entries_.at(index); }
    [[nodiscard]] const std::vector<TypeGroup>& typeGroups() const { return groups_; }

    // Groups the entries by type: one group per type in order of first appearance,
    // each id once, at the index of its first entry.
    void mapTypes();

    // The 0-based position of the type's group (compared up to the first NUL).
    [[nodiscard]] std::optional<std::size_t> findGroup(std::string_view type) const;

    // The ids of the type's group, four characters each, back to back; "" when absent.
    [[nodiscard]] std::string idsOfType(const std::string& type) const;

    // Empties entries and groups without a word; offset is kept.
    void clearAll();

    // The "Dump Map" text. `filterSelection` is the type filter's current item:
    // 0 for "All", k for the k-th group, nothing when no item is selected.
    [[nodiscard]] std::string dumpMapText(std::optional<std::size_t> filterSelection) const;

    [[nodiscard]] std::uint32_t directoryOffset() const { return directoryOffset_; }
    void setDirectoryOffset(std::uint32_t offset) { directoryOffset_ = offset; }

private:
    void appendGroupText(std::string& text, std::size_t groupIndex) const;
    // The position of the entry's type group, created (and reported) when new.
    std::size_t groupFor(std::unordered_map<std::uint32_t, std::size_t>& groupOfType, const TagEntry& entry);
    void addMember(std::size_t group, std::size_t index);

    DirectoryObserver* observer_ = nullptr;
    std::vector<TagEntry> entries_;
    std::vector<TypeGroup> groups_;
    std::uint32_t directoryOffset_ = 0;
};

}  // namespace tagwarden
