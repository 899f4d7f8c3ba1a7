#include "core/tags/tag_directory.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "core/tags/tag_text.h"

namespace tagwarden {

namespace {

// A set of 64-bit keys with open addressing: one flat table instead of a node per
// entry, which keeps mapping a million entries fast and small. Keys never have all
// bits set (a group's position stays far below 2^32 - 1).
class PairSet {
public:
    explicit PairSet(std::size_t expected)
        : slots_(std::bit_ceil(std::max<std::size_t>(16, 2 * expected)), kEmpty),
          shift_(64 - std::countr_zero(slots_.size()))
    {
    }

    // False when the key was there already.
    bool insert(std::uint64_t key)
    {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = slotOf(key);; i = (i + 1) & mask) {
            if (slots_[i] == key)
                return false;
            if (slots_[i] == kEmpty) {
                slots_[i] = key;
                return true;
            }
        }
    }

    // Asks for the key's slot to be brought into the cache ahead of `insert`.
    void prefetch(std::uint64_t key) const
    {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&slots_[slotOf(key)]);
#else
        (void)key;
#endif
    }

private:
    [[nodiscard]] std::size_t slotOf(std::uint64_t key) const { return (key * 0x9E3779B97F4A7C15u) >> shift_; }

    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
    std::vector<std::uint64_t> slots_;
    int shift_;
};

}  // namespace

void TagDirectory::reserve(std::size_t entries) { entries_.reserve(entries); }

bool TagDirectory::appendEntry(const ByteSource& source, std::uint64_t position)
{
    TagEntry entry;
    if (!entry.readFrom(source, position))
        return false;
    appendEntry(entry.header(), entry.headerPosition());
    return true;
}

void TagDirectory::appendEntry(const TagHeaderBytes& header, std::uint64_t headerPosition)
{
    entries_.emplace_back(header, headerPosition);
    if (observer_)
        observer_->addListLine(entries_.back(), entries_.size() - 1);
}

void TagDirectory::mapTypes()
{
    groups_.clear();
    // A hash of types and one flat set of (group, id) pairs stand in for the linear
    // walks of groups and members; the order and the results are the same. The set's
    // slots are fetched a few entries ahead, so that a million entries do not wait on
    // one memory access after another.
    std::unordered_map<std::uint32_t, std::size_t> groupOfType;
    std::vector<std::uint64_t> keys(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i)
        keys[i] = (std::uint64_t{groupFor(groupOfType, entries_[i])} << 32) | entries_[i].idKey();
    PairSet seen(entries_.size());
    constexpr std::size_t kAhead = 32;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i + kAhead < keys.size())
            seen.prefetch(keys[i + kAhead]);
        if (seen.insert(keys[i]))
            addMember(static_cast<std::size_t>(keys[i] >> 32), i);
    }
}

std::size_t TagDirectory::groupFor(std::unordered_map<std::uint32_t, std::size_t>& groupOfType, const TagEntry& entry)
{
    const auto [found, isNew] = groupOfType.try_emplace(entry.typeKey(), groups_.size());
    if (isNew) {
        groups_.push_back({entry.type(), {}});
        if (observer_)
            observer_->setStatus("Added New Object Type - " + std::string(upToNul(groups_.back().type)));
    }
    return found->second;
}

void TagDirectory::addMember(std::size_t group, std::size_t index)
{
    GroupMember member;
    const std::string_view id = fieldText(entries_[index].header(), tag_header::kId);
    std::copy(id.begin(), id.end(), member.id.begin());
    member.index = static_cast<std::int32_t>(index);
    groups_[group].members.push_back(member);
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
    entries_.clear();
    entries_.shrink_to_fit();
    groups_.clear();
    groups_.shrink_to_fit();
}

void TagDirectory::appendGroupText(std::string& text, std::size_t groupIndex) const
{
    const TypeGroup& group = groups_[groupIndex];
    text += "\nKey: ";
    text += upToNul(group.type);
    text += " pointer = " + std::to_string(groupIndex + 1);
    text += " Entries = " + std::to_string(group.memberCount());
    text += "\n\tObjects: ";
    for (const GroupMember& member : group.members) {
        const std::string id = member.idText();
        text += upToNul(id);
        text += "-" + std::to_string(member.index) + "; ";
    }
}

std::string TagDirectory::dumpMapText(std::optional<std::size_t> filterSelection) const
{
    std::string text;
    if (!filterSelection)
        return text;
    if (*filterSelection == 0) {
        for (std::size_t g = 0; g < groups_.size(); ++g)
            appendGroupText(text, g);
    } else if (*filterSelection <= groups_.size()) {
        appendGroupText(text, *filterSelection - 1);
    }
    return text;
}

}  // namespace tagwarden
