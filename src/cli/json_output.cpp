#include "cli/json_output.h"

#include "core/tags/tag_directory.h"
#include "core/tags/tag_entry.h"
#include "core/tags/tag_text.h"

namespace tagwarden::cli {

std::string latin1Text(std::string_view field)
{
    std::string text;
    for (const char c : upToNul(field)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

Json listEntryJson(const TagEntry& entry, std::size_t index)
{
    return Json{{"index", index},
                {"type", latin1Text(entry.type())},
                {"id", latin1Text(entry.id())},
                {"start", entry.startAddress()},
                {"length", entry.dataLength()},
                {"name", latin1Text(entry.name())}};
}

Json headerJson(const TagEntry& entry, std::size_t index)
{
    return Json{{"index", index},
                {"description", latin1Text(entry.name())},
                {"type", latin1Text(entry.type())},
                {"id", latin1Text(entry.id())},
                {"reserved1", entry.reserved1Text()},
                {"number", entry.number()},
                {"start", entry.startAddress()},
                {"length", entry.dataLength()},
                {"reserved2", entry.reserved2Text()},
                {"signature", latin1Text(entry.signature())},
                {"dump", entry.dumpText()}};
}

Json dumpMapJson(const TagDirectory& directory, const std::vector<std::size_t>& groups)
{
    Json result = Json::array();
    for (const std::size_t g : groups) {
        const TypeGroup& group = directory.typeGroups().at(g);
        Json objects = Json::array();
        for (const GroupMember& member : group.members)
            objects.push_back(Json{{"id", latin1Text(member.idText())}, {"index", member.index}});
        result.push_back(Json{{"type", latin1Text(group.type)},
                              {"pointer", g + 1},
                              {"entries", group.memberCount()},
                              {"objects", std::move(objects)}});
    }
    return result;
}

}  // namespace tagwarden::cli
