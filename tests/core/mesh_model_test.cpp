#include <gtest/gtest.h>

#include "core/io/byte_order.h"
#include "core/io/memory_bytes.h"
#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/scripted_prompter.h"
#include "mesh_test_fixtures.h"

namespace tagwarden {
namespace {

constexpr std::size_t kTagData = 64;

// The map is read and written in memory; it must outlive the model.
std::unique_ptr<MeshModel> openModel(ByteSource& map)
{
    return std::make_unique<MeshModel>(std::make_unique<BufferedFile>(map, BufferedFile::kMeshBufferSize));
}

std::unique_ptr<MeshModel> loadModel(ByteSource& map)
{
    auto model = openModel(map);
    const auto problem = model->load();
    EXPECT_FALSE(problem.has_value()) << *problem;
    return model;
}

std::int32_t number(const MeshModel& model, MeshNumber field) { return model.header().number(field); }

// The map data of a plug-in with one header number changed.
Bytes withNumber32(Bytes plugIn, std::size_t headerOffset, std::int64_t value)
{
    writeBigEndian32(plugIn.data() + kTagData + headerOffset, static_cast<std::uint32_t>(value));
    return plugIn;
}

TEST(MeshModel, LoadsEveryPartOfTheSampleMap)
{
    const MeshLayout layout;
    MemoryBytes map(test::meshPlugIn(layout));
    auto model = loadModel(map);
    EXPECT_EQ(model->cells().size(), std::size_t(layout.width * 16 * layout.height * 16));
    ASSERT_EQ(model->itemTypes().size(), std::size_t(layout.itemTypes));
    ASSERT_EQ(model->items().size(), std::size_t(layout.items));
    EXPECT_EQ(codeText(model->itemTypes().front().code()), "msaa");
    EXPECT_EQ(model->items().back().x(), 1024 * (10 + 3 * (layout.items - 1)));
    EXPECT_EQ(model->items().back().z(), 2048);
    EXPECT_EQ(codeText(model->header().code(MeshCode::objectives)), "obj1");
    EXPECT_EQ(model->header().code(MeshCode::secondaryWater), kNoCode);
    ASSERT_TRUE(model->section(1) && model->section(2) && model->section(3));
    EXPECT_EQ(model->section(1)->size(), layout.section1);  // larger than the buffer
    EXPECT_EQ(model->section(3)->size(), layout.section3);
}

TEST(MeshModel, AGridOfFourByFourBlocksHas4096CellsRightBehindTheHeader)
{
    const Bytes plugIn = buildPlugIn({"m", "mesh", "m", 0, sampleMeshData({4, 4, 1, 1, 10, 10, 10})});
    MemoryBytes map(plugIn);
    auto model = loadModel(map);
    ASSERT_EQ(model->cells().size(), 4096u);
    const auto firstCell = plugIn.begin() + kTagData + 1024;
    EXPECT_TRUE(std::equal(model->cells().front().bytes().begin(), model->cells().front().bytes().end(), firstCell));
    EXPECT_TRUE(std::equal(model->cells().back().bytes().begin(), model->cells().back().bytes().end(),
                           firstCell + 4095 * 8));
}

TEST(MeshModel, SavedWithoutChangeTheFileIsByteIdentical)
{
    for (const MeshLayout& layout : {MeshLayout{}, MeshLayout{1, 3, 0, 0, 0, 0, 0}, MeshLayout{3, 1, 2, 70, 51200, 1, 0}}) {
        MemoryBytes map(test::meshPlugIn(layout));
        const Bytes before = map.bytes();
        auto model = loadModel(map);
        ScriptedPrompter prompter;
        EXPECT_TRUE(model->writeMap(prompter));
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(prompter.shown()[0].text, "Mesh File Successfully written!");
        EXPECT_EQ(map.bytes(), before);  // already flushed, before the file closes
    }
}

TEST(MeshModel, LayoutOffsetsLaysTablesOutBackToBackFromTypesBase)
{
    MemoryBytes map(test::meshPlugIn({4, 4, 10, 3, 100, 20, 30}));
    auto model = loadModel(map);
    ASSERT_EQ(number(*model, MeshNumber::typesBase), 32768);
    model->header().setNumber(MeshNumber::typeOffset, 0);
    model->header().setNumber(MeshNumber::section3Offset, 0);
    model->layoutOffsets();
    EXPECT_EQ(number(*model, MeshNumber::typeOffset), 32768);
    EXPECT_EQ(number(*model, MeshNumber::itemOffset), 33088);
    EXPECT_EQ(number(*model, MeshNumber::section1Offset), 33280);
    EXPECT_EQ(number(*model, MeshNumber::section2Offset), 33380);
    EXPECT_EQ(number(*model, MeshNumber::section3Offset), 33400);
    EXPECT_EQ(number(*model, MeshNumber::dataEnd), 33430);
}

TEST(MeshModel, DeletingTwoOfFiveItemsWritesThreeAndLeavesTheOldTailBehind)
{
    MemoryBytes map(test::meshPlugIn({2, 2, 5, 5, 500, 0, 0}));
    const Bytes before = map.bytes();
    auto model = loadModel(map);
    const MeshItem kept = *std::next(model->items().begin(), 2);
    EXPECT_TRUE(model->removeItem(model->items().front()));
    EXPECT_TRUE(model->removeItem(model->items().back()));
    ScriptedPrompter prompter;
    ASSERT_TRUE(model->writeMap(prompter));
    EXPECT_EQ(number(*model, MeshNumber::itemCount), 3);
    EXPECT_EQ(number(*model, MeshNumber::itemLength), 192);
    EXPECT_EQ(number(*model, MeshNumber::section1Offset), number(*model, MeshNumber::itemOffset) + 192);

    const Bytes after = map.bytes();
    ASSERT_EQ(after.size(), before.size());  // the file is not shortened
    EXPECT_TRUE(std::equal(before.end() - 128, before.end(), after.end() - 128));
    EXPECT_EQ(readBigEndian32(after.data() + 52), before.size() - kTagData - 128);

    model.reset();
    auto reloaded = loadModel(map);
    ASSERT_EQ(reloaded->items().size(), 3u);
    EXPECT_EQ(std::next(reloaded->items().begin(), 1)->bytes(), kept.bytes());
    EXPECT_EQ(reloaded->section(1)->size(), 500u);
    EXPECT_EQ(*reloaded->section(1), Bytes(before.begin() + static_cast<std::ptrdiff_t>(before.size() - 500), before.end()));
}

TEST(MeshModel, AnAddedItemTypeIsWrittenBeforeTheItemsAndSavingTwiceGivesTheSameFile)
{
    MemoryBytes map(test::meshPlugIn({1, 1, 2, 2, 64, 0, 8}));
    auto model = loadModel(map);
    const std::int32_t typesBase = number(*model, MeshNumber::typesBase);
    ItemType& newType = model->addItemType();
    newType.setCategory(9);
    newType.setCode(textCode("ob99"));
    newType.setReference(42);
    const ItemType added = newType;
    MeshItem& item = model->addItem();
    item.setReference(42);
    item.setX(-512);
    ScriptedPrompter prompter;
    ASSERT_TRUE(model->writeMap(prompter));
    const Bytes first = map.bytes();
    ASSERT_TRUE(model->writeMap(prompter));
    EXPECT_EQ(map.bytes(), first);

    EXPECT_EQ(number(*model, MeshNumber::typeOffset), typesBase);
    EXPECT_EQ(number(*model, MeshNumber::itemOffset), typesBase + 3 * 32);
    const std::size_t typesAt = kTagData + 1024 + 256 * 8;
    EXPECT_TRUE(std::equal(added.bytes().begin(), added.bytes().end(), first.begin() + typesAt + 2 * 32));

    model.reset();
    auto reloaded = loadModel(map);
    EXPECT_EQ(reloaded->itemTypes().size(), 3u);
    EXPECT_EQ(reloaded->itemTypes().back().bytes(), added.bytes());
    EXPECT_EQ(reloaded->items().back().x(), -512);
    EXPECT_EQ(reloaded->items().size(), 3u);
    EXPECT_EQ(reloaded->section(3)->size(), 8u);
    EXPECT_EQ(readBigEndian32(first.data() + 52), reloaded->dataLength());
}

TEST(MeshModel, EditingAfterASaveWorksOnTheListsAsTheyAre)
{
    MemoryBytes map(test::meshPlugIn({1, 1, 0, 0, 10, 0, 0}));
    auto model = loadModel(map);
    EXPECT_TRUE(model->itemTypes().empty());
    ItemType& only = model->addItemType();
    EXPECT_EQ(&model->itemTypes().front(), &only);
    EXPECT_EQ(number(*model, MeshNumber::typeCount), 1);
    EXPECT_EQ(number(*model, MeshNumber::typeLength), 32);
    ScriptedPrompter prompter;
    ASSERT_TRUE(model->writeMap(prompter));
    EXPECT_TRUE(model->removeItemType(only));
    EXPECT_TRUE(model->itemTypes().empty());
    EXPECT_FALSE(model->removeItemType(only));
    model->addItem();
    ASSERT_TRUE(model->writeMap(prompter));
    model.reset();

    auto reloaded = loadModel(map);
    EXPECT_TRUE(reloaded->itemTypes().empty());
    EXPECT_EQ(reloaded->items().size(), 1u);
    EXPECT_EQ(number(*reloaded, MeshNumber::itemOffset), number(*reloaded, MeshNumber::typesBase));
}

TEST(MeshModel, AMapThatDoesNotFitItsFileIsRefusedBeforeAnythingIsRead)
{
    const Bytes good = buildPlugIn({"m", "mesh", "m", 0, sampleMeshData({1, 1, 2, 2, 100, 10, 10})});
    const std::int64_t meshOffset = 1024;
    const std::int64_t end = static_cast<std::int64_t>(good.size() - kTagData) - meshOffset;  // end of the data area
    struct Case {
        const char* what;
        Bytes plugIn;
        const char* message;
    };
    const Case cases[] = {
        {"short file", Bytes(good.begin(), good.begin() + 1087), "ERROR - The file is too short to hold a map."},
        {"negative width", withNumber32(good, 8, 0xFFFF0001), "ERROR - The map's width or height is negative."},
        {"huge grid", withNumber32(good, 8, 0x7FFF7FFF), "ERROR - The map's cell grid reaches beyond the end of the file."},
        {"types past the end", withNumber32(good, 40, end - 63), "ERROR - The map's item-type table lies outside the file."},
        {"types before the data", withNumber32(good, 40, -1100), "ERROR - The map's item-type table lies outside the file."},
        {"huge type count", withNumber32(good, 36, 0x7FFFFFFF), "ERROR - The map's item-type table lies outside the file."},
        {"offset wraps", withNumber32(good, 56, 0x7FFFFFFF), "ERROR - The map's item table lies outside the file."},
        {"huge item count", withNumber32(good, 52, 0x7FFFFFFF), "ERROR - The map's item table lies outside the file."},
        {"section 1 too long", withNumber32(good, 136, 0x7FFFFFFF), "ERROR - Section 1 of the map lies outside the file."},
        {"section 3 past the end", withNumber32(good, 204, end - 9), "ERROR - Section 3 of the map lies outside the file."},
        {"mesh offset far off", withNumber32(good, 24, 0x80000000), "ERROR - The map's item-type table lies outside the file."},
    };
    for (const Case& c : cases) {
        MemoryBytes map(c.plugIn);
        auto model = openModel(map);
        const auto problem = model->load();
        ASSERT_TRUE(problem.has_value()) << c.what;
        EXPECT_EQ(*problem, c.message) << c.what;
        EXPECT_TRUE(model->cells().empty() && model->itemTypes().empty() && model->items().empty()) << c.what;
    }
    // The last byte of every part inside the file is fine.
    MemoryBytes last(withNumber32(good, 204, end - 10));
    EXPECT_FALSE(openModel(last)->load().has_value());
}

TEST(MeshModel, NoTablesAreReadForCountsOfZeroOrLess)
{
    Bytes plugIn = buildPlugIn({"m", "mesh", "m", 0, sampleMeshData({1, 1, 2, 2, 0, 0, 0})});
    MemoryBytes map(withNumber32(withNumber32(plugIn, 36, -3), 40, -5000));  // nowhere, but never read
    auto model = loadModel(map);
    EXPECT_TRUE(model->itemTypes().empty());
    EXPECT_EQ(model->items().size(), 2u);
    EXPECT_FALSE(model->section(1).has_value());
}

TEST(MeshModel, AFailedSaveIsReportedAndNeverCalledASuccess)
{
    // On disk: the file system refuses the write.
    test::TempDir dir;
    const Bytes plugIn = test::meshPlugIn({1, 1, 1, 1, 100, 0, 0});
    File file(dir.write("map", plugIn), File::Access::ReadWrite, File::Share::None);
    auto model = loadModel(file);
    model->addItem();  // the file has to grow, which the limit forbids
    ScriptedPrompter prompter;
    {
        test::FileSizeLimit limit(plugIn.size());
        EXPECT_FALSE(model->writeMap(prompter));
    }
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text, "unexplained file exception: " +
                                            std::to_string(static_cast<int>(model->file().lastError()->cause())));
    EXPECT_EQ(prompter.shown()[1].text.rfind("ERROR - The map was not written completely.", 0), 0u);
    for (const auto& shown : prompter.shown())
        EXPECT_NE(shown.text, "Mesh File Successfully written!");
}

TEST(MeshModel, AMissingFileIsReportedAsNotFound)
{
    EXPECT_EQ(writeFailureText(FileError(FileErrorCause::NotFound, "x")), "File not found");
    EXPECT_EQ(writeFailureText(FileError(FileErrorCause::DiskFull, "x")),
              "unexplained file exception: " + std::to_string(static_cast<int>(FileErrorCause::DiskFull)));
}

}  // namespace
}  // namespace tagwarden
