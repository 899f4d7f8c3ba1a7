#pragma once

#include <QAbstractListModel>

#include <cstdint>
#include <vector>

namespace tagwarden {

class TagDirectory;
class TagEntry;

// The main window's object list: one line "ID : Name" per listed entry, kept in
// ascending case-insensitive order (equal lines in file order). Each row carries
// the index of its entry; the texts are made from the directory when shown, so a
// million rows cost four bytes each.
class ObjectListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The entry's index in the directory, as data of every row.
    static constexpr int kEntryIndexRole = Qt::UserRole + 1;

    explicit ObjectListModel(const TagDirectory& directory, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces all lines with these entries, sorted once.
    void setLines(std::vector<std::uint32_t> entryIndexes);
    // Replaces all lines with entries known to be in list order already.
    void setSortedLines(std::vector<std::uint32_t> entryIndexes);
    void clear();

    [[nodiscard]] std::uint32_t entryIndexAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    [[nodiscard]] const std::vector<std::uint32_t>& lines() const { return rows_; }

private:
    const TagDirectory& directory_;
    std::vector<std::uint32_t> rows_;
};

}  // namespace tagwarden
