#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <unordered_set>

#include "core/io/large_page_vector.h"

namespace tagwarden {

class TagDirectory;
struct TypeGroup;

// Entries by their index in the directory: a million of them are sorted and
// narrowed on every open.
using EntryIndexes = LargePageVector<std::uint32_t>;

// The main window's object table: one row per listed entry, with its type, id,
// name, start, length and a mark when its plug-in exists. The default order is
// the "ID : Name" line order, case ignored (equal lines in file order); a column
// sort keeps that order among equal values. Each row is the index of its entry:
// the texts are made from the directory when shown, so a million rows cost a few
// bytes each, and narrowing by type or search text walks the entries' headers.
class ObjectListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { TypeColumn, IdColumn, NameColumn, StartColumn, LengthColumn, PlugInColumn, ColumnCount };
    // The entry's index in the directory, as data of every cell.
    static constexpr int kEntryIndexRole = Qt::UserRole + 1;
    // The entry's "ID : Name" line.
    static constexpr int kListLineRole = Qt::UserRole + 2;
    // Whether another entry has the same type and id.
    static constexpr int kDuplicateRole = Qt::UserRole + 3;

    explicit ObjectListModel(const TagDirectory& directory, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Lists the directory's first `count` entries (what a reading listed): sorted
    // once, the duplicates found, no type or search narrowing, the current column
    // sort kept.
    void setEntries(std::size_t count);
    void clear();
    // Narrows to the members of `group` (nothing: every entry), then to the search text.
    void setGroup(const TypeGroup* group);
    // Entries whose type, id or name holds `text`, case ignored; "" lists all.
    void setSearch(const std::string& text);
    // The plug-ins there are, as "TYPE/ID" file names below local/ of the tags directory.
    void setPlugIns(std::unordered_set<std::string> plugIns);

    [[nodiscard]] std::uint32_t entryIndexAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    [[nodiscard]] const EntryIndexes& lines() const { return rows_; }
    // How many entries the type narrowing leaves, before the search.
    [[nodiscard]] std::size_t groupCount() const { return groupCount_; }
    [[nodiscard]] bool searching() const { return !needle_.empty(); }
    [[nodiscard]] bool hasPlugIn(std::uint32_t entryIndex) const;

private:
    [[nodiscard]] QVariant displayText(std::uint32_t entryIndex, int column) const;
    [[nodiscard]] EntryIndexes ascendingBy(int column) const;
    void findDuplicates();
    // Rebuilds the rows from the sorted entries, or from the rows shown when the
    // new search text holds the old one (it can only drop rows then).
    void refilter(bool narrowing);

    const TagDirectory& directory_;
    EntryIndexes lineOrder_;           // every entry, in "ID : Name" order
    EntryIndexes order_;               // every entry, in the current sort
    LargePageVector<char> member_;     // per entry: kept by the type narrowing (empty: all are)
    LargePageVector<char> duplicate_;  // per entry
    std::string needle_;               // the search text, lower-cased
    std::size_t groupCount_ = 0;
    EntryIndexes rows_;
    int sortColumn_ = IdColumn;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::unordered_set<std::string> plugIns_;
};

}  // namespace tagwarden
