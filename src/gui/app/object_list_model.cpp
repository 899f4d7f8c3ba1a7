#include "gui/app/object_list_model.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/tags/tag_directory.h"

namespace tagwarden {

namespace {

// An entry's list line, lower-cased, built straight from the header bytes without
// allocating: the id up to its first NUL, " : ", the name up to its first NUL.
struct LineKey {
    std::array<unsigned char, tag_header::kId.width + 3 + tag_header::kName.width> text{};
    std::size_t size = 0;

    explicit LineKey(const TagHeaderBytes& header)
    {
        append(fieldText(header, tag_header::kId));
        append(" : ");
        append(fieldText(header, tag_header::kName));
    }

    void append(std::string_view field)
    {
        for (std::size_t i = 0; i < field.size() && field[i] != 0; ++i)
            text[size++] = lower(static_cast<unsigned char>(field[i]));
    }

    static unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

    // The first eight characters as one number that sorts like them (zeros after the end).
    [[nodiscard]] std::uint64_t prefix() const
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < 8; ++i)
            value = value << 8 | (i < size ? text[i] : 0u);
        return value;
    }
};

// An entry to sort: most lines differ within their first eight characters, so the
// whole lines are built only for the few that do not.
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t index;
};

int compareKeys(const LineKey& a, const LineKey& b)
{
    const int common = std::memcmp(a.text.data(), b.text.data(), std::min(a.size, b.size));
    if (common != 0)
        return common;
    return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
}

}  // namespace

ObjectListModel::ObjectListModel(const TagDirectory& directory, QObject* parent)
    : QAbstractListModel(parent), directory_(directory)
{
}

int ObjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const std::uint32_t entryIndex = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(directory_.entryAt(entryIndex).listLine());
    if (role == kEntryIndexRole)
        return QVariant::fromValue(entryIndex);
    return {};
}

bool ObjectListModel::lineBefore(std::uint32_t a, std::uint32_t b) const
{
    const int order = compareKeys(LineKey(directory_.entryAt(a).header()), LineKey(directory_.entryAt(b).header()));
    return order != 0 ? order < 0 : a < b;
}

void ObjectListModel::setLines(std::vector<std::uint32_t> entryIndexes)
{
    std::vector<SortItem> items;
    items.reserve(entryIndexes.size());
    for (const std::uint32_t index : entryIndexes)
        items.push_back({LineKey(directory_.entryAt(index).header()).prefix(), index});
    std::sort(items.begin(), items.end(), [](const SortItem& a, const SortItem& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.index < b.index;
    });
    // Lines that agree in their first eight characters are ordered by their whole text.
    for (auto run = items.begin(); run != items.end();) {
        const auto end = std::find_if(run, items.end(), [&](const SortItem& item) { return item.prefix != run->prefix; });
        if (end - run > 1)
            std::sort(run, end, [this](const SortItem& a, const SortItem& b) { return lineBefore(a.index, b.index); });
        run = end;
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        entryIndexes[i] = items[i].index;
    setSortedLines(std::move(entryIndexes));
}

void ObjectListModel::setSortedLines(std::vector<std::uint32_t> entryIndexes)
{
    beginResetModel();
    rows_ = std::move(entryIndexes);
    endResetModel();
}

void ObjectListModel::clear() { setSortedLines({}); }

}  // namespace tagwarden
