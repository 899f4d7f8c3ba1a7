#include "gui/app/object_list_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/io/prefetch.h"
#include "core/tags/tag_directory.h"

namespace tagwarden {

namespace {

// Eight characters, lower-cased: ASCII capitals get their 0x20 bit, eight at a time.
std::uint64_t lowered(std::uint64_t word)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const std::uint64_t low = word & kLow7;
    const std::uint64_t fromA = low + 0x3F3F3F3F3F3F3F3Fu;  // high bit set from 'A' on
    const std::uint64_t pastZ = low + 0x2525252525252525u;  // high bit set past 'Z'
    const std::uint64_t capitals = (fromA ^ pastZ) & ~word & kHigh;
    return word | capitals >> 2;
}

// An entry's list line, lower-cased, built straight from the header bytes without
// allocating: the id up to its first NUL, " : ", the name up to its first NUL, or
// only the first `limit` characters of it. It is kept as five numbers of eight
// characters each, zero-padded, which compare as the lines do: no line holds a
// zero byte, so the padding puts a line before any longer line that begins with it.
struct LineKey {
    static constexpr std::size_t kLongest = 40;

    std::array<std::uint64_t, kLongest / 8> words{};

    explicit LineKey(const TagHeaderBytes& header, std::size_t limit = kLongest)
    {
        std::size_t size = 0;
        const auto append = [&](std::string_view part) {
            for (std::size_t i = 0; i < part.size() && part[i] != 0 && size < limit; ++i, ++size)
                words[size / 8] |= std::uint64_t{static_cast<unsigned char>(part[i])} << (56 - 8 * (size % 8));
        };
        append(fieldText(header, tag_header::kId));
        append(" : ");
        append(fieldText(header, tag_header::kName));
        for (std::uint64_t& word : words)
            word = lowered(word);
    }

    auto operator<=>(const LineKey&) const = default;
};

// The first eight characters of an entry's line, as LineKey has them.
std::uint64_t linePrefix(const TagHeaderBytes& header) { return LineKey(header, 8).words[0]; }

// An entry to sort: most lines differ within their first eight characters, so the
// whole lines are built only for the few that do not.
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t index;
};

// Orders the items by prefix, equal prefixes in the order given: one byte at a
// time from the last, leaving out the bytes that all prefixes share. For a
// million lines this takes a fraction of what comparing them does.
void sortByPrefix(std::vector<SortItem>& items)
{
    constexpr int kBytes = 8;
    std::array<std::array<std::size_t, 256>, kBytes> counts{};
    for (const SortItem& item : items)
        for (int b = 0; b < kBytes; ++b)
            ++counts[b][(item.prefix >> (8 * b)) & 0xFF];
    std::vector<SortItem> sorted(items.size());
    for (int b = 0; b < kBytes; ++b) {
        auto& next = counts[b];
        if (std::find(next.begin(), next.end(), items.size()) != next.end())
            continue;
        std::size_t start = 0;
        for (std::size_t& count : next)
            start += std::exchange(count, start);
        for (const SortItem& item : items)
            sorted[next[(item.prefix >> (8 * b)) & 0xFF]++] = item;
        items.swap(sorted);
    }
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

void ObjectListModel::setLines(std::vector<std::uint32_t> entryIndexes)
{
    // Equal lines keep file order: the sort keeps the order it is given.
    if (!std::is_sorted(entryIndexes.begin(), entryIndexes.end()))
        std::sort(entryIndexes.begin(), entryIndexes.end());
    std::vector<SortItem> items;
    items.reserve(entryIndexes.size());
    for (const std::uint32_t index : entryIndexes)
        items.push_back({linePrefix(directory_.headerAt(index)), index});
    sortByPrefix(items);
    // Lines that agree in their first eight characters are ordered by their whole
    // text, each line made once. Their headers now come in sorted order, scattered
    // over the directory: they are fetched a few lines ahead.
    constexpr std::size_t kAhead = 16;
    std::vector<std::pair<LineKey, std::uint32_t>> keyed;
    for (std::size_t first = 0; first < items.size();) {
        std::size_t end = first + 1;
        while (end < items.size() && items[end].prefix == items[first].prefix)
            ++end;
        if (end - first > 1) {
            keyed.clear();
            for (std::size_t i = first; i < end; ++i) {
                if (i + kAhead < items.size())
                    prefetch(&directory_.headerAt(items[i + kAhead].index));
                keyed.emplace_back(LineKey(directory_.headerAt(items[i].index)), items[i].index);
            }
            std::sort(keyed.begin(), keyed.end());
            for (std::size_t i = 0; i < keyed.size(); ++i)
                items[first + i].index = keyed[i].second;
        }
        first = end;
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
