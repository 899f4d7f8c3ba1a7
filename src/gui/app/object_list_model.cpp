#include "gui/app/object_list_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/tags/tag_directory.h"

namespace tagwarden {

namespace {

// An entry's list line as the header holds it: the id up to its first NUL, " : ",
// the name up to its first NUL, zero-padded to 40 bytes; or its first `limit`
// characters only. Byte by byte: the fields are short, calls would cost more.
using LineText = std::array<unsigned char, 40>;

LineText lineText(const TagHeaderBytes& header, std::size_t limit = LineText().size())
{
    LineText text{};
    std::size_t size = 0;
    const auto append = [&](std::string_view part) {
        for (std::size_t i = 0; i < part.size() && part[i] != 0 && size < limit; ++i)
            text[size++] = static_cast<unsigned char>(part[i]);
    };
    append(fieldText(header, tag_header::kId));
    append(" : ");
    append(fieldText(header, tag_header::kName));
    return text;
}

// Eight characters of a line text from `offset`, lower-cased, as one number that
// sorts like them: ASCII capitals get their 0x20 bit, eight at a time.
std::uint64_t loweredWord(const LineText& text, std::size_t offset)
{
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < 8; ++i)
        word = word << 8 | text[offset + i];
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const std::uint64_t low = word & kLow7;
    const std::uint64_t fromA = low + 0x3F3F3F3F3F3F3F3Fu;  // high bit set from 'A' on
    const std::uint64_t pastZ = low + 0x2525252525252525u;  // high bit set past 'Z'
    const std::uint64_t capitals = (fromA ^ pastZ) & ~word & kHigh;
    return word | capitals >> 2;
}

// An entry's list line, lower-cased, as five numbers that compare as the lines do:
// no line holds a zero byte, so the padding puts a line before any longer line
// that begins with it.
struct LineKey {
    std::array<std::uint64_t, 5> words{};

    explicit LineKey(const TagHeaderBytes& header)
    {
        const LineText text = lineText(header);
        for (std::size_t w = 0; w < words.size(); ++w)
            words[w] = loweredWord(text, 8 * w);
    }

    auto operator<=>(const LineKey&) const = default;
};

// The first eight characters of an entry's line, as LineKey has them.
std::uint64_t linePrefix(const TagHeaderBytes& header) { return loweredWord(lineText(header, 8), 0); }

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
    // text, each line made once.
    std::vector<std::pair<LineKey, std::uint32_t>> keyed;
    for (auto run = items.begin(); run != items.end();) {
        const auto end = std::find_if(run, items.end(), [&](const SortItem& item) { return item.prefix != run->prefix; });
        if (end - run > 1) {
            keyed.clear();
            for (auto item = run; item != end; ++item)
                keyed.emplace_back(LineKey(directory_.headerAt(item->index)), item->index);
            std::sort(keyed.begin(), keyed.end());
            for (std::size_t i = 0; i < keyed.size(); ++i)
                run[static_cast<std::ptrdiff_t>(i)].index = keyed[i].second;
        }
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
