#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/io/large_page_vector.h"
#include "core/tags/tag_entry.h"

namespace tagwarden {

class ByteSource;

// What the directory tells its owner (the main window, or the command-line tool)
// while it is filled and cleared.
class DirectoryObserver {
public:
    virtual ~DirectoryObserver() = default;
    // The entry at `index` was just read: its line belongs in the list.
    virtual void addListLine(std::size_t index) = 0;
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
    std::span<const GroupMember> members;  // held by the directory

    [[nodiscard]] std::int32_t memberCount() const { return static_cast<std::int32_t>(members.size()); }
};

// The entries of the open file in file order and the index of ids by type. The
// entries are the headers of one directory, back to back in the file, copied into
// one block of the program's own as they are read: what is listed stays what was
// read, whatever another program does to the file later. Each entry's texts are
// made when asked for.
class TagDirectory {
public:
    TagDirectory();
    ~TagDirectory();
    TagDirectory(const TagDirectory&) = delete;
    TagDirectory& operator=(const TagDirectory&) = delete;

    void setObserver(DirectoryObserver* observer) { observer_ = observer; }

    // Reads up to `count` headers lying back to back from `position` on as new
    // entries, each listed as it is added; answers how many were whole (fewer only
    // where the source ends). The first entry fixes where the directory starts;
    // later ones must follow the last entry.
    std::size_t readEntries(const ByteSource& source, std::uint64_t position, std::size_t count);
    // Reads one header at `position`; false (and nothing kept) when it is not all there.
    bool appendEntry(const ByteSource& source, std::uint64_t position);
    // Adds a header read at `headerPosition`, right behind the last entry.
    void appendEntry(const TagHeaderBytes& header, std::uint64_t headerPosition);

    // Makes room for this many entries in all, and sizes the index of ids by type for them (the reader knows how many follow).
    void reserve(std::size_t entries);

    [[nodiscard]] std::size_t entryCount() const { return count_; }
    // The entry at `index`; std::out_of_range past the last one.
    [[nodiscard]] TagEntry entryAt(std::size_t index) const;
    // Its 64 header bytes as read, without a copy (`index` below entryCount()).
    [[nodiscard]] const TagHeaderBytes& headerAt(std::size_t index) const { return headers_[index]; }
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

    // How a type or id shows in the "Dump Map" text: as is up to its first NUL, or,
    // for a terminal, escaped (the command-line tool's rule).
    using FieldText = void (*)(std::string& out, std::string_view field);
    static void appendUpToNul(std::string& out, std::string_view field);

    // The "Dump Map" text. `filterSelection` is the type filter's current item:
    // 0 for "All", k for the k-th group, nothing when no item is selected.
    [[nodiscard]] std::string dumpMapText(std::optional<std::size_t> filterSelection,
                                          FieldText fieldText = appendUpToNul) const;

    [[nodiscard]] std::uint32_t directoryOffset() const { return directoryOffset_; }
    void setDirectoryOffset(std::uint32_t offset) { directoryOffset_ = offset; }

private:
    // Checks that `position` follows the last entry (or starts the directory).
    void checkFollows(std::uint64_t position);
    // Room for `more` headers behind the last entry; they count once listed.
    [[nodiscard]] TagHeaderBytes* roomFor(std::size_t more);
    // Lists the entries read up to `count` and adds them to the growing index.
    void listUpTo(std::size_t count);
    void appendGroupText(std::string& text, std::size_t groupIndex, FieldText fieldText) const;

    class TypeIndex;

    DirectoryObserver* observer_ = nullptr;
    // The headers read straight from the file, and room for more behind the
    // `count_` listed ones.
    LargePageVector<TagHeaderBytes> headers_;
    std::size_t count_ = 0;
    std::uint64_t firstPosition_ = 0;
    std::unique_ptr<TypeIndex> index_;
    std::vector<TypeGroup> groups_;
    // The members of every group, group after group; the groups' spans cover them.
    LargePageVector<GroupMember> members_;
    std::uint32_t directoryOffset_ = 0;
};

}  // namespace tagwarden
