// The map editor's model on arbitrary map files: loading with its checks, list
// editing, writing back through the buffered file, and loading what was written.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/io/byte_order.h"
#include "core/io/memory_bytes.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/scripted_prompter.h"

namespace {

using namespace tagwarden;

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "mesh_fuzzer: %s\n", what);
        std::abort();
    }
}

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

// A map whose tables were laid out right behind its cell grid, with counts and
// lengths that agree with its lists, must come back exactly as written.
bool writtenBackToBack(const MeshModel& model)
{
    const MeshHeader& h = model.header();
    const auto n = [&h](MeshNumber field) { return std::int64_t{h.number(field)}; };
    const auto types = static_cast<std::int64_t>(model.itemTypes().size());
    const auto items = static_cast<std::int64_t>(model.items().size());
    return n(MeshNumber::meshOffset) + n(MeshNumber::typesBase) ==
               1024 + 8 * static_cast<std::int64_t>(model.cells().size()) &&
           n(MeshNumber::typeCount) == types && n(MeshNumber::typeLength) == 32 * types &&
           n(MeshNumber::itemCount) == items && n(MeshNumber::itemLength) == 64 * items &&
           n(MeshNumber::section1Length) >= 0 && n(MeshNumber::section2Length) >= 0 &&
           n(MeshNumber::section3Length) >= 0;
}

// What a load delivers, to compare a map with the same map loaded again.
struct Snapshot {
    std::array<std::uint8_t, MeshHeader::kSize> header;
    std::size_t cells;
    std::vector<std::array<std::uint8_t, ItemType::kSize>> types;
    std::vector<std::array<std::uint8_t, MeshItem::kSize>> items;
    std::array<std::optional<std::vector<std::uint8_t>>, 3> sections;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const MeshModel& model)
{
    Snapshot shot{model.header().bytes(), model.cells().size(), {}, {}, {}};
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
    MemoryBytes map(std::vector<std::uint8_t>(data, data + size));
    std::optional<std::string> problem;
    auto model = load(map, problem);
    if (problem)
        return 0;
    edit(*model, size > 0 ? data[0] : 0);
    ScriptedPrompter prompter;
    check(model->writeMap(prompter), "writing the map failed");
    check(readBigEndian32(model->tagHeader().data() + 52) == model->dataLength(), "wrong data length in the tag header");
    if (!writtenBackToBack(*model))
        return 0;
    const Snapshot written = snapshot(*model);
    model.reset();
    auto reloaded = load(map, problem);
    check(!problem, "a map as written cannot be loaded again");
    check(snapshot(*reloaded) == written, "the map loaded again differs from the map written");
    return 0;
}
