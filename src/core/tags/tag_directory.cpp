#include "core/tags/tag_directory.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <utility>

#include "core/io/byte_source.h"
#include "core/io/file_error.h"
#include "core/io/prefetch.h"
#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

// Most reads ask for this many headers at a time; fewer are needed only at the end.
constexpr std::size_t kFirstCapacity = 16;

// An entry's type and id as one key, each compared up to its first NUL.
[[gnu::always_inline]] inline std::uint64_t pairKey(const TagHeaderBytes& header)
{
    return std::uint64_t{codeKey(header.data() + tag_header::kType.offset)} << 32 |
           codeKey(header.data() + tag_header::kId.offset);
}

// The (type, id) pairs met so far, with open addressing: one flat table of four
// bytes a slot, since filling fresh memory is most of the cost of a million
// entries. A slot holds the index of the entry that brought the pair and eight bits
// of the pair's hash; the pair itself is read back from that entry's header only
// when those bits match. It is at most two thirds full, and grows when more pairs
// come than it was made for. Entry indexes must stay below 2^24 (the reader reads
// no more entries than that).
class PairSet {
public:
    static constexpr std::size_t kMostEntries = std::size_t{1} << 24;

    explicit PairSet(std::size_t expected) { allocate(std::max<std::size_t>(16, expected + expected / 2)); }

    // False when the pair of entry `index` came with an earlier entry already.
    bool insert(const TagHeaderBytes* headers, std::size_t index)
    {
        if (index >= kMostEntries)
            throw std::length_error("too many directory entries to map their types");
        if (3 * (used_ + 1) > 2 * size_)
            grow(headers);
        if (!place(headers, pairKey(headers[index]), index))
            return false;
        ++used_;
        return true;
    }

    // Asks for the key's slot to be brought into the cache ahead of `insert`.
    void prefetch(std::uint64_t key) const { tagwarden::prefetch(&slots_[slotOf(mixed(key))]); }

private:
    static constexpr std::uint32_t kEmpty = ~std::uint32_t{0};

    [[nodiscard]] static std::uint64_t mixed(std::uint64_t key) { return key * 0x9E3779B97F4A7C15u; }
    [[nodiscard]] std::size_t slotOf(std::uint64_t hash) const { return hash >> shift_; }
    // 0..254, so that no slot in use reads as kEmpty.
    [[nodiscard]] static std::uint32_t fingerprint(std::uint64_t hash)
    {
        return static_cast<std::uint32_t>(hash % 255);
    }

    void allocate(std::size_t wanted)
    {
        size_ = std::bit_ceil(wanted);
        slots_.assign(size_, kEmpty);
        shift_ = 64 - std::countr_zero(size_);
    }

    // False when the key is in the table already.
    bool place(const TagHeaderBytes* headers, std::uint64_t key, std::size_t index)
    {
        const std::uint64_t hash = mixed(key);
        const std::uint32_t print = fingerprint(hash);
        for (std::size_t i = slotOf(hash);; i = (i + 1) & (size_ - 1)) {
            const std::uint32_t slot = slots_[i];
            if (slot == kEmpty) {
                slots_[i] = static_cast<std::uint32_t>(index) << 8 | print;
                return true;
            }
            if ((slot & 0xFF) == print && pairKey(headers[slot >> 8]) == key)
                return false;
        }
    }

    void grow(const TagHeaderBytes* headers)
    {
        const std::size_t oldSize = size_;
        const LargePageVector<std::uint32_t> old = std::move(slots_);
        allocate(2 * oldSize);
        for (std::size_t i = 0; i < oldSize; ++i)
            if (old[i] != kEmpty)
                (void)place(headers, pairKey(headers[old[i] >> 8]), old[i] >> 8);
    }

    std::size_t size_ = 0;
    std::size_t used_ = 0;
    // A table of a million keys is hit at random: large pages spare the address lookups.
    LargePageVector<std::uint32_t> slots_;
    int shift_ = 0;
};

// The group of each type met so far, looked up once per entry: a small flat table.
class GroupsByType {
public:
    [[nodiscard]] std::optional<std::size_t> find(std::uint32_t type) const
    {
        for (std::size_t i = slotOf(type);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i].groupPlusOne == 0)
                return std::nullopt;
            if (slots_[i].type == type)
                return slots_[i].groupPlusOne - 1;
        }
    }

    void add(std::uint32_t type, std::size_t group)
    {
        if (2 * (used_ + 1) > slots_.size())
            grow();
        place({type, static_cast<std::uint32_t>(group + 1)});
        ++used_;
    }

private:
    struct Slot {
        std::uint32_t type = 0;
        std::uint32_t groupPlusOne = 0;  // 0: a free slot
    };

    [[nodiscard]] std::size_t slotOf(std::uint32_t type) const
    {
        return static_cast<std::size_t>((type * 0x9E3779B97F4A7C15u) >> 32) & (slots_.size() - 1);
    }

    void place(const Slot& slot)
    {
        std::size_t i = slotOf(slot.type);
        while (slots_[i].groupPlusOne != 0)
            i = (i + 1) & (slots_.size() - 1);
        slots_[i] = slot;
    }

    void grow()
    {
        std::vector<Slot> old(2 * slots_.size());
        old.swap(slots_);
        for (const Slot& slot : old)
            if (slot.groupPlusOne != 0)
                place(slot);
    }

    std::vector<Slot> slots_ = std::vector<Slot>(16);
    std::size_t used_ = 0;
};

}  // namespace

// The index of ids by type as it grows: the reader adds each block of headers just
// read, while its bytes are still in the cache, and mapTypes hands it over. A flat
// table of types and one flat set of (type, id) pairs stand in for the linear walks
// of groups and members; the order and the results are the same. A type's first
// entry is always a new pair, so the groups come in order of first appearance.
// Each new pair is noted in file order with its group; the groups' members are
// laid out in one block at the end, a group's count being known by then, so that
// no member list grows (and faults in fresh pages) a copy at a time.
class TagDirectory::TypeIndex {
public:
    explicit TypeIndex(std::size_t expected) : seen_(std::in_place, expected) { pairs_.reserve(expected); }

    [[nodiscard]] std::size_t covered() const { return covered_; }

    // Adds the entries from the first one not covered yet up to `count`.
    void add(const TagHeaderBytes* headers, std::size_t count)
    {
        // The set's slots are fetched a few entries ahead, so that a million
        // entries do not wait on one memory access after another; the headers
        // two pages ahead, as the processor does not fetch past a page on its own.
        constexpr std::size_t kAhead = 16;
        constexpr std::size_t kHeadersAhead = 2 * 4096 / kTagHeaderSize;
        for (; covered_ < count; ++covered_) {
            if (covered_ + kAhead < count)
                seen_->prefetch(pairKey(headers[covered_ + kAhead]));
            if (covered_ + kHeadersAhead < count)
                prefetch(&headers[covered_ + kHeadersAhead]);
            if (seen_->insert(headers, covered_))
                addPair(headers[covered_]);
        }
    }

    // The groups, their members laid out in `members`.
    [[nodiscard]] std::vector<TypeGroup> takeGroups(const TagHeaderBytes* headers,
                                                    LargePageVector<GroupMember>& members)
    {
        seen_.reset();  // not needed any more: room for the members
        members = LargePageVector<GroupMember>(pairs_.size());
        // Each group's span, and where its next member goes.
        std::vector<std::size_t> next(groups_.size());
        for (std::size_t g = 0, first = 0; g < groups_.size(); first += counts_[g++]) {
            next[g] = first;
            groups_[g].members = std::span<const GroupMember>(members).subspan(first, counts_[g]);
        }
        for (std::size_t p = 0; p < pairs_.size(); ++p) {
            GroupMember& member = members[next[pairs_[p].group]++];
            const std::string_view id = fieldText(headers[pairs_[p].index], tag_header::kId);
            member.id = {};
            std::copy(id.begin(), id.end(), member.id.begin());
            member.index = static_cast<std::int32_t>(pairs_[p].index);
        }
        return std::move(groups_);
    }

private:
    struct Pair {
        std::uint32_t index;
        std::uint32_t group;
    };

    void addPair(const TagHeaderBytes& header)
    {
        const std::uint32_t type = codeKey(header.data() + tag_header::kType.offset);
        std::optional<std::size_t> group = groupOf_.find(type);
        if (!group) {
            group = groups_.size();
            groupOf_.add(type, *group);
            groups_.push_back({std::string(fieldText(header, tag_header::kType)), {}});
            counts_.push_back(0);
        }
        ++counts_[*group];
        pairs_.push_back({static_cast<std::uint32_t>(covered_), static_cast<std::uint32_t>(*group)});
    }

    std::optional<PairSet> seen_;
    GroupsByType groupOf_;
    std::vector<TypeGroup> groups_;
    std::vector<std::size_t> counts_;
    LargePageVector<Pair> pairs_;  // every new pair in file order
    std::size_t covered_ = 0;
};

TagDirectory::TagDirectory() = default;
TagDirectory::~TagDirectory() = default;

void TagDirectory::reserve(std::size_t entries)
{
    if (!index_)
        index_ = std::make_unique<TypeIndex>(entries);
    if (entries > headers_.size())
        headers_.resize(entries);
}

void TagDirectory::checkFollows(std::uint64_t position)
{
    if (count_ == 0)
        firstPosition_ = position;
    else if (position != firstPosition_ + count_ * kTagHeaderSize)
        throw std::invalid_argument("a directory's headers lie back to back");
}

TagHeaderBytes* TagDirectory::roomFor(std::size_t more)
{
    if (headers_.size() - count_ < more)
        reserve(std::max({count_ + more, 2 * headers_.size(), kFirstCapacity}));
    return headers_.data() + count_;
}

void TagDirectory::listUpTo(std::size_t count)
{
    while (count_ < count) {
        ++count_;
        if (observer_)
            observer_->addListLine(count_ - 1);
    }
    if (!index_)
        index_ = std::make_unique<TypeIndex>(count);
    index_->add(headers_.data(), count);
}

std::size_t TagDirectory::readEntries(const ByteSource& source, std::uint64_t position, std::size_t count)
{
    checkFollows(position);
    const std::size_t whole =
        source.readAt(position, roomFor(count), count * kTagHeaderSize) / kTagHeaderSize;
    listUpTo(count_ + whole);
    return whole;
}

bool TagDirectory::appendEntry(const ByteSource& source, std::uint64_t position)
{
    return readEntries(source, position, 1) == 1;
}

void TagDirectory::appendEntry(const TagHeaderBytes& header, std::uint64_t headerPosition)
{
    checkFollows(headerPosition);
    *roomFor(1) = header;
    listUpTo(count_ + 1);
}

TagEntry TagDirectory::entryAt(std::size_t index) const
{
    if (index >= count_)
        throw std::out_of_range("no directory entry " + std::to_string(index));
    return {headers_[index], firstPosition_ + index * kTagHeaderSize};
}

void TagDirectory::mapTypes()
{
    // Mapping again, or after entries came some other way, starts afresh.
    if (!index_ || index_->covered() != count_) {
        index_ = std::make_unique<TypeIndex>(count_);
        index_->add(headers_.data(), count_);
    }
    groups_ = index_->takeGroups(headers_.data(), members_);
    index_.reset();
    for (const TypeGroup& group : groups_)
        if (observer_)
            observer_->setStatus("Added New Object Type - " + std::string(upToNul(group.type)));
}

std::optional<std::size_t> TagDirectory::findGroup(std::string_view type) const
{
    if (!fitsCode(type))
        return std::nullopt;
    const std::uint32_t key = codeKey(type);
    for (std::size_t g = 0; g < groups_.size(); ++g)
        if (codeKey(groups_[g].type) == key)
            return g;
    return std::nullopt;
}

std::string TagDirectory::idsOfType(const std::string& type) const
{
    const auto g = findGroup(type);
    if (!g)
        return {};
    std::string ids;
    ids.reserve(4 * groups_[*g].members.size());
    for (const GroupMember& member : groups_[*g].members)
        ids.append(member.id.data(), member.id.size());
    return ids;
}

void TagDirectory::clearAll()
{
    // Assigned afresh, not cleared: the memory goes back as well.
    headers_ = LargePageVector<TagHeaderBytes>();
    count_ = 0;
    index_.reset();
    groups_ = std::vector<TypeGroup>();
    members_ = LargePageVector<GroupMember>();
}

void TagDirectory::appendUpToNul(std::string& out, std::string_view field) { out += upToNul(field); }

void TagDirectory::appendGroupText(std::string& text, std::size_t groupIndex, FieldText fieldText) const
{
    const TypeGroup& group = groups_[groupIndex];
    text += "\nKey: ";
    fieldText(text, group.type);
    text += " pointer = " + std::to_string(groupIndex + 1);
    text += " Entries = " + std::to_string(group.memberCount());
    text += "\n\tObjects: ";
    for (const GroupMember& member : group.members) {
        fieldText(text, member.idText());
        text += "-" + std::to_string(member.index) + "; ";
    }
}

std::string TagDirectory::dumpMapText(std::optional<std::size_t> filterSelection, FieldText fieldText) const
{
    std::string text;
    if (!filterSelection)
        return text;
    if (*filterSelection == 0) {
        for (std::size_t g = 0; g < groups_.size(); ++g)
            appendGroupText(text, g, fieldText);
    } else if (*filterSelection <= groups_.size()) {
        appendGroupText(text, *filterSelection - 1, fieldText);
    }
    return text;
}

}  // namespace tagwarden
