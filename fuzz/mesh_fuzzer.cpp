// The map editor's model on arbitrary map files: loading with its checks, an
// unchanged save (which must give back the same bytes), list editing, saving, and
// loading what was saved (which must give back the model that was saved).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/io/byte_order.h"
#include "core/io/memory_bytes.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/scripted_prompter.h"
#include "fuzz_support.h"

namespace {

using namespace tagwarden;

using fuzz::check;

std::unique_ptr<MeshModel> load(ByteSource& map, std::optional<std::string>& problem)
{
    auto model = std::make_unique<MeshModel>(std::make_unique<BufferedFile>(map, BufferedFile::kMeshBufferSize));
    problem = model->load();
    return model;
}

// Edits chosen by the input's first byte, so the fuzzer explores them too.
void edit(MeshModel& model, std::uint8_t choice)
{
    if ((choice & 1) && !model.itemTypes().empty())
        model.removeItemType(model.itemTypes().front());
    if ((choice & 2) && !model.items().empty())
        model.removeItem(model.items().back());
    if (choice & 4) {
        ItemType& type = model.addItemType();
        type.setCategory(choice);
        type.setReference(choice >> 3);
    }
    if (choice & 8) {
        MeshItem& item = model.addItem();
        item.setX(choice * 1024);
        item.setFacing(-choice);
    }
}

// What a load delivers, to compare a map with the same map loaded again.
struct Snapshot {
    TagHeaderBytes tagHeader;
    std::array<std::uint8_t, MeshHeader::kSize> header;
    std::size_t cells;
    std::vector<std::array<std::uint8_t, ItemType::kSize>> types;
    std::vector<std::array<std::uint8_t, MeshItem::kSize>> items;
    std::array<std::optional<std::vector<std::uint8_t>>, 3> sections;
    std::vector<std::uint8_t> tail;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(MeshModel& model)
{
    Snapshot shot{model.tagHeader(), model.header().bytes(), model.cells().size(), {}, {}, {}, model.tail()};
    for (const ItemType& type : model.itemTypes())
        shot.types.push_back(type.bytes());
    for (const MeshItem& item : model.items())
        shot.items.push_back(item.bytes());
    for (int s = 1; s <= 3; ++s)
        shot.sections[static_cast<std::size_t>(s - 1)] = model.section(s);
    return shot;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> input(data, data + size);
    MemoryBytes map(input);
    std::optional<std::string> problem;
    auto model = load(map, problem);
    if (problem) {
        check(map.bytes() == input, "a refused map was written");
        return 0;
    }
    ScriptedPrompter prompter;
    check(model->writeMap(prompter).value, "saving the map unchanged failed");
    check(map.bytes() == input, "an unchanged save changed the file");

    edit(*model, size > 0 ? data[0] : 0);
    check(model->writeMap(prompter).value, "saving the edited map failed");
    check(readBigEndian32(model->tagHeader().data() + 52) == model->dataLength(), "wrong data length in the tag header");
    const Snapshot saved = snapshot(*model);
    model.reset();
    auto reloaded = load(map, problem);
    check(!problem, "a map as saved cannot be loaded again");
    check(snapshot(*reloaded) == saved, "the map loaded again differs from the map saved");
    return 0;
}
