#include "core/tags/tag_directory.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/tags/tag_text.h"

namespace tagwarden {

bool TagDirectory::appendEntry(File& file)
{
    TagEntry entry;
    if (!entry.readFrom(file))
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
    // Hashes stand in for the linear walks of groups and members; order and results are the same.
    std::unordered_map<std::uint32_t, std::size_t> groupOfType;
    std::vector<std::unordered_set<std::uint32_t>> idsSeen;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TagEntry& entry = entries_[i];
        auto [found, isNew] = groupOfType.try_emplace(entry.typeKey(), groups_.size());
        if (isNew) {
            groups_.push_back({entry.type(), {}});
            idsSeen.emplace_back();
            if (observer_)
                observer_->setStatus("Added New Object Type - " + std::string(upToNul(groups_.back().type)));
        }
        const std::size_t g = found->second;
        if (!idsSeen[g].insert(entry.idKey()).second)
            continue;
        GroupMember member;
        std::copy_n(entry.header().begin() + 36, 4, member.id.begin());
        member.index = static_cast<std::int32_t>(i);
        groups_[g].members.push_back(member);
    }
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
