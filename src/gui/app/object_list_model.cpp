#include "gui/app/object_list_model.h"

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "core/io/prefetch.h"
#include "core/tags/tag_directory.h"
#include "core/viewer/plug_in_writer.h"

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

// The bytes before the first NUL of a text field of `width` bytes (four or a
// multiple of eight), eight at a time.
std::size_t textLength(const std::uint8_t* field, std::size_t width)
{
    for (std::size_t at = 0; at < width; at += 8) {
        std::uint64_t word = ~std::uint64_t{0};  // bytes past the field are not NUL
        std::memcpy(&word, field + at, std::min<std::size_t>(8, width - at));
        const std::uint64_t nul = (word - 0x0101010101010101u) & ~word & 0x8080808080808080u;
        if (nul != 0) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(nul) : std::countl_zero(nul);
            return at + static_cast<std::size_t>(bit) / 8;
        }
    }
    return width;
}

// Text of a header, lower-cased, built straight from its bytes without allocating:
// the id up to its first NUL, " : ", the name up to its first NUL (or the name
// alone), or only the first `limit` characters of it. It is kept as five numbers
// of eight characters each, zero-padded, which compare as the texts do: no text
// holds a zero byte, so the padding puts a text before any longer one that begins with it.
struct LineKey {
    static constexpr std::size_t kLongest = 40;
    enum class Text { Line, Name };

    std::array<std::uint64_t, kLongest / 8> words{};

    LineKey() = default;
    // Both fields are copied whole into a buffer and cut where their text ends:
    // a million keys are made on every open, so no byte is handled on its own.
    explicit LineKey(const TagHeaderBytes& header, Text text = Text::Line, std::size_t limit = kLongest)
    {
        std::array<std::uint8_t, kLongest> bytes{};
        std::size_t size = 0;
        if (text == Text::Line) {
            const std::uint8_t* id = header.data() + tag_header::kId.offset;
            std::memcpy(bytes.data(), id, tag_header::kId.width);
            size = textLength(id, tag_header::kId.width);
            std::memcpy(bytes.data() + size, " : ", 3);
            size += 3;
        }
        const std::uint8_t* name = header.data() + tag_header::kName.offset;
        std::memcpy(bytes.data() + size, name, tag_header::kName.width);
        size = std::min(limit, size + textLength(name, tag_header::kName.width));
        for (std::size_t w = 0; w < words.size(); ++w) {
            const std::size_t kept = std::clamp<std::size_t>(size, 8 * w, 8 * w + 8) - 8 * w;
            const std::uint64_t mask = kept == 0 ? 0 : ~std::uint64_t{0} << (64 - 8 * kept);
            words[w] = lowered(readBigEndian64(bytes.data() + 8 * w) & mask);
        }
    }

    auto operator<=>(const LineKey&) const = default;
};

// An entry to sort: most lines differ within their first eight characters, so the
// whole lines are built only for the few that do not.
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t index;
};

// Orders the items by `wordOf`, equal words in the order given: one byte at a
// time from the last, leaving out the bytes that all words share. For a million
// items this takes a fraction of what comparing them does.
// `scratch` is room for the passes, kept between calls: fresh room costs a page
// fault per page.
template <typename Item, typename WordOf>
void sortByWord(LargePageVector<Item>& items, const WordOf& wordOf, LargePageVector<Item>& scratch)
{
    constexpr int kBytes = 8;
    std::array<std::array<std::size_t, 256>, kBytes> counts{};
    for (const Item& item : items)
        for (int b = 0; b < kBytes; ++b)
            ++counts[b][(wordOf(item) >> (8 * b)) & 0xFF];
    LargePageVector<Item>& sorted = scratch;
    sorted.resize(items.size());
    for (int b = 0; b < kBytes; ++b) {
        auto& next = counts[b];
        if (std::find(next.begin(), next.end(), items.size()) != next.end())
            continue;
        std::size_t start = 0;
        for (std::size_t& count : next)
            start += std::exchange(count, start);
        for (const Item& item : items)
            sorted[next[(wordOf(item) >> (8 * b)) & 0xFF]++] = item;
        items.swap(sorted);
    }
}

void sortByPrefix(LargePageVector<SortItem>& items)
{
    LargePageVector<SortItem> scratch;
    sortByWord(items, [](const SortItem& item) { return item.prefix; }, scratch);
}

// The entries of `base` ordered by `prefix`, equal prefixes by `key` when one is
// given, and equal keys in the order of `base`.
template <typename Prefix>
EntryIndexes orderedBy(const TagDirectory& directory, const EntryIndexes& base, const Prefix& prefix,
                       std::optional<LineKey::Text> key)
{
    LargePageVector<SortItem> items;
    items.reserve(base.size());
    for (const std::uint32_t index : base)
        items.push_back({prefix(directory.headerAt(index)), index});
    sortByPrefix(items);
    // Entries that agree in their prefix are ordered by their whole text, each text
    // made once. Their headers now come in sorted order, scattered over the
    // directory: they are fetched a few entries ahead.
    constexpr std::size_t kAhead = 16;
    struct Keyed {
        LineKey key;
        std::uint32_t index;
    };
    LargePageVector<Keyed> keyed;
    for (std::size_t first = 0; key && first < items.size();) {
        std::size_t end = first + 1;
        while (end < items.size() && items[end].prefix == items[first].prefix)
            ++end;
        if (end - first > 1) {
            keyed.clear();
            for (std::size_t i = first; i < end; ++i) {
                if (i + kAhead < items.size())
                    prefetch(&directory.headerAt(items[i + kAhead].index));
                keyed.push_back({LineKey(directory.headerAt(items[i].index), *key), items[i].index});
            }
            // A big group word by word from the last (each pass keeps the order of the one
            // before), a middling one by comparing, a few by inserting without any room
            // of their own: all keep the order given among equal keys.
            constexpr std::size_t kBigGroup = 256;
            constexpr std::size_t kFew = 16;
            const auto before = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
            if (keyed.size() > kBigGroup) {
                LargePageVector<Keyed> scratch;
                for (std::size_t w = LineKey::kLongest / 8; w-- > 1;)
                    sortByWord(keyed, [w](const Keyed& item) { return item.key.words[w]; }, scratch);
            } else if (keyed.size() > kFew) {
                std::stable_sort(keyed.begin(), keyed.end(), before);
            } else {
                for (auto next = keyed.begin() + 1; next < keyed.end(); ++next)
                    std::rotate(std::upper_bound(keyed.begin(), next, *next, before), next, next + 1);
            }
            for (std::size_t i = 0; i < keyed.size(); ++i)
                items[first + i].index = keyed[i].index;
        }
        first = end;
    }
    EntryIndexes ordered(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        ordered[i] = items[i].index;
    return ordered;
}

// A field as the table shows it: up to its first NUL.
std::string_view shown(const TagHeaderBytes& header, TagField field)
{
    const std::string_view text = fieldText(header, field);
    return text.substr(0, text.find('\0'));
}

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// ASCII lower case, byte for byte.
constexpr std::array<char, 256> kLower = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
    return table;
}();

std::string loweredText(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = kLower[static_cast<unsigned char>(c)];
    return lower;
}

// Whether the field, up to its first NUL and lower-cased, holds `needle` (lower
// case, no NUL): compared in place, since a million fields are walked per keystroke.
bool fieldHolds(const TagHeaderBytes& header, TagField field, std::string_view needle)
{
    const std::uint8_t* text = header.data() + field.offset;
    for (std::size_t i = 0; i + needle.size() <= field.width && text[i] != 0; ++i) {
        if (kLower[text[i]] != needle[0])
            continue;
        std::size_t k = 1;
        while (k < needle.size() && kLower[text[i + k]] == needle[k])  // a NUL never matches
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

bool entryHolds(const TagHeaderBytes& header, std::string_view needle)
{
    return fieldHolds(header, tag_header::kName, needle) || fieldHolds(header, tag_header::kId, needle) ||
           fieldHolds(header, tag_header::kType, needle);
}

std::uint64_t typeAndId(const TagHeaderBytes& header)
{
    return std::uint64_t{fieldNumber(header, tag_header::kType)} << 32 | fieldNumber(header, tag_header::kId);
}

std::string plugInKey(const TagHeaderBytes& header)
{
    return plugInFileName(fieldText(header, tag_header::kType)) + '/' +
           plugInFileName(fieldText(header, tag_header::kId));
}

constexpr const char* kDuplicateText = "Another entry has the same type and id";

}  // namespace

ObjectListModel::ObjectListModel(const TagDirectory& directory, QObject* parent)
    : QAbstractTableModel(parent), directory_(directory)
{
}

int ObjectListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ObjectListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ObjectListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const std::uint32_t entryIndex = rows_[static_cast<std::size_t>(index.row())];
    const bool duplicate = duplicate_[entryIndex] != 0;
    switch (role) {
    case Qt::DisplayRole:
        return displayText(entryIndex, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == StartColumn || index.column() == LengthColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return index.column() == PlugInColumn ? QVariant::fromValue(Qt::AlignCenter) : QVariant();
    case Qt::BackgroundRole:
        return duplicate ? QVariant(QBrush(QColor(255, 224, 160))) : QVariant();
    case Qt::ForegroundRole:
        return duplicate ? QVariant(QBrush(Qt::black)) : QVariant();
    case Qt::ToolTipRole:
        if (index.column() == PlugInColumn && hasPlugIn(entryIndex))
            return QStringLiteral("local/") + QString::fromLatin1(plugInKey(directory_.headerAt(entryIndex)));
        return duplicate ? QString::fromLatin1(kDuplicateText) : QVariant();
    case kEntryIndexRole:
        return QVariant::fromValue(entryIndex);
    case kListLineRole:
        return QString::fromLatin1(directory_.entryAt(entryIndex).listLine());
    case kDuplicateRole:
        return duplicate;
    default:
        return {};
    }
}

QVariant ObjectListModel::displayText(std::uint32_t entryIndex, int column) const
{
    const TagHeaderBytes& header = directory_.headerAt(entryIndex);
    switch (column) {
    case TypeColumn:
        return latin1(shown(header, tag_header::kType));
    case IdColumn:
        return latin1(shown(header, tag_header::kId));
    case NameColumn:
        return latin1(shown(header, tag_header::kName));
    case StartColumn:
        return QString::number(fieldNumber(header, tag_header::kStartAddress));
    case LengthColumn:
        return QString::number(fieldNumber(header, tag_header::kDataLength));
    default:
        return hasPlugIn(entryIndex) ? QStringLiteral("\u2713") : QString();
    }
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kTitles[ColumnCount] = {"Type", "ID", "Name", "Start", "Length", "Plug-In"};
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kTitles[section]);
    if (role == Qt::ToolTipRole && section == PlugInColumn)
        return QStringLiteral("Marked when local/TYPE/ID exists in the tags directory");
    return {};
}

bool ObjectListModel::hasPlugIn(std::uint32_t entryIndex) const
{
    return !plugIns_.empty() && plugIns_.contains(plugInKey(directory_.headerAt(entryIndex)));
}

EntryIndexes ObjectListModel::ascendingBy(int column) const
{
    const auto number = [](TagField field) {
        return [field](const TagHeaderBytes& header) -> std::uint64_t { return fieldNumber(header, field); };
    };
    switch (column) {
    case TypeColumn:
        return orderedBy(directory_, lineOrder_, [](const TagHeaderBytes& header) {
            return lowered(std::uint64_t{fieldNumber(header, tag_header::kType)});
        }, std::nullopt);
    case NameColumn:
        return orderedBy(directory_, lineOrder_,
                         [](const TagHeaderBytes& header) { return LineKey(header, LineKey::Text::Name, 8).words[0]; },
                         LineKey::Text::Name);
    case StartColumn:
        return orderedBy(directory_, lineOrder_, number(tag_header::kStartAddress), std::nullopt);
    case LengthColumn:
        return orderedBy(directory_, lineOrder_, number(tag_header::kDataLength), std::nullopt);
    case PlugInColumn:
        return orderedBy(directory_, lineOrder_,
                         [this](const TagHeaderBytes& header) -> std::uint64_t {
                             return plugIns_.contains(plugInKey(header)) ? 0 : 1;  // marked ones first
                         },
                         std::nullopt);
    default:
        return lineOrder_;
    }
}

void ObjectListModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    order_ = ascendingBy(column);
    if (order == Qt::DescendingOrder)
        std::reverse(order_.begin(), order_.end());
    refilter(false);
}

void ObjectListModel::setEntries(std::size_t count)
{
    // Equal lines keep file order: the sort keeps the order it is given.
    EntryIndexes entryIndexes(count);
    std::iota(entryIndexes.begin(), entryIndexes.end(), 0);
    lineOrder_ = orderedBy(
        directory_, entryIndexes,
        [](const TagHeaderBytes& header) { return LineKey(header, LineKey::Text::Line, 8).words[0]; },
        LineKey::Text::Line);
    findDuplicates();
    member_.clear();
    needle_.clear();
    if (sortColumn_ == IdColumn && sortOrder_ == Qt::AscendingOrder) {
        order_ = lineOrder_;
        refilter(false);
    } else {
        sort(sortColumn_, sortOrder_);
    }
}

void ObjectListModel::clear()
{
    beginResetModel();
    for (auto* entries : {&lineOrder_, &order_, &rows_}) {
        entries->clear();
        entries->shrink_to_fit();
    }
    member_.clear();
    duplicate_.clear();
    groupCount_ = 0;
    endResetModel();
}

// Every entry but a type's first of an id is left out of the type groups; it and
// that first one are the duplicates.
void ObjectListModel::findDuplicates()
{
    duplicate_.assign(directory_.entryCount(), 1);
    for (const TypeGroup& group : directory_.typeGroups())
        for (const GroupMember& member : group.members)
            duplicate_[static_cast<std::size_t>(member.index)] = 0;
    std::unordered_set<std::uint64_t> repeated;
    for (std::size_t i = 0; i < duplicate_.size(); ++i)
        if (duplicate_[i])
            repeated.insert(typeAndId(directory_.headerAt(i)));
    if (repeated.empty())
        return;
    for (std::size_t i = 0; i < duplicate_.size(); ++i)
        if (!duplicate_[i] && repeated.contains(typeAndId(directory_.headerAt(i))))
            duplicate_[i] = 1;
}

void ObjectListModel::setGroup(const TypeGroup* group)
{
    member_.clear();
    if (group) {
        member_.assign(directory_.entryCount(), 0);
        for (const GroupMember& member : group->members)
            member_[static_cast<std::size_t>(member.index)] = 1;
    }
    refilter(false);
}

void ObjectListModel::setSearch(const std::string& text)
{
    std::string needle = loweredText(text);
    std::erase(needle, '\0');
    const bool narrowing = needle.find(needle_) != std::string::npos;
    needle_ = std::move(needle);
    refilter(narrowing);
}

void ObjectListModel::setPlugIns(std::unordered_set<std::string> plugIns)
{
    plugIns_ = std::move(plugIns);
    if (sortColumn_ == PlugInColumn) {
        sort(sortColumn_, sortOrder_);
    } else if (!rows_.empty()) {
        emit dataChanged(index(0, PlugInColumn), index(rowCount() - 1, PlugInColumn));
    }
}

void ObjectListModel::refilter(bool narrowing)
{
    EntryIndexes rows;
    const EntryIndexes& from = narrowing ? rows_ : order_;
    // Many lines are searched in file order, where the headers lie one after the
    // other; a few are searched where they are listed.
    constexpr std::size_t kScattered = 16;
    LargePageVector<char> holds;
    if (!needle_.empty() && from.size() > directory_.entryCount() / kScattered) {
        holds.resize(directory_.entryCount());
        for (std::size_t i = 0; i < holds.size(); ++i)
            holds[i] = entryHolds(directory_.headerAt(i), needle_);
    }
    rows.reserve(from.size());
    std::size_t kept = 0;
    for (const std::uint32_t index : from) {
        if (!member_.empty() && !member_[index])
            continue;
        ++kept;
        if (needle_.empty() || (holds.empty() ? entryHolds(directory_.headerAt(index), needle_) : holds[index] != 0))
            rows.push_back(index);
    }
    if (!narrowing)
        groupCount_ = kept;  // a narrowing search leaves the type narrowing as it was
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

}  // namespace tagwarden
