#include <gtest/gtest.h>

#include "core/io/byte_order.h"
#include "core/io/memory_bytes.h"
#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/scripted_prompter.h"
#include "fault_injection.h"
#include "mesh_test_fixtures.h"
#include "support/shown.h"

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

// A plug-in with one number of its map header changed.
Bytes withNumber32(Bytes plugIn, std::size_t headerOffset, std::int64_t value)
{
    writeBigEndian32(plugIn.data() + kTagData + headerOffset, static_cast<std::uint32_t>(value));
    return plugIn;
}

// A plug-in with one number of its map header moved by `amount`.
Bytes withNumberMoved(Bytes plugIn, std::size_t headerOffset, std::int64_t amount)
{
    const std::int64_t value = static_cast<std::int32_t>(readBigEndian32(plugIn.data() + kTagData + headerOffset));
    return withNumber32(std::move(plugIn), headerOffset, value + amount);
}

// A plug-in with bytes behind its map: `inTag` of them counted in the tag's length
// of data, `beyond` more behind the tag.
Bytes withTail(Bytes plugIn, std::size_t inTag, std::size_t beyond)
{
    writeBigEndian32(plugIn.data() + 52, readBigEndian32(plugIn.data() + 52) + static_cast<std::uint32_t>(inTag));
    for (std::size_t i = 0; i < inTag + beyond; ++i)
        plugIn.push_back(static_cast<std::uint8_t>(0xA0 + i));
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
    for (const Bytes& plugIn : {test::meshPlugIn(), test::meshPlugIn({1, 3, 0, 0, 0, 0, 0}),
                                test::meshPlugIn({3, 1, 2, 70, 51200, 1, 0}), withTail(test::meshPlugIn(), 37, 0),
                                withTail(test::meshPlugIn({1, 1, 1, 1, 0, 0, 0}), 5, 11)}) {
        MemoryBytes map(plugIn);
        auto model = loadModel(map);
        ScriptedPrompter prompter;
        Reported<bool> written = model->writeMap(prompter);
        EXPECT_TRUE(prompter.shown().empty());  // the model shows nothing itself
        EXPECT_TRUE(test::shown(prompter, std::move(written)));
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(prompter.shown()[0].text, "Mesh File Successfully written!");
        EXPECT_EQ(map.bytes(), plugIn);
    }
}

TEST(MeshModel, BytesBehindTheLastSectionStayBehindTheEditedMapAndInItsTag)
{
    const Bytes plugIn = withTail(test::meshPlugIn({1, 1, 2, 2, 10, 0, 3}), 6, 4);
    MemoryBytes map(plugIn);
    auto model = loadModel(map);
    const Bytes tail(plugIn.end() - 10, plugIn.end());
    EXPECT_EQ(model->tail(), tail);
    model->addItem().setX(99);
    ScriptedPrompter prompter;
    ASSERT_TRUE(test::shown(prompter, model->writeMap(prompter)));
    const Bytes& saved = map.bytes();
    ASSERT_EQ(saved.size(), plugIn.size() + 64);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), saved.end() - 10));
    EXPECT_EQ(readBigEndian32(saved.data() + 52), readBigEndian32(plugIn.data() + 52) + 64);

    model.reset();
    auto reloaded = loadModel(map);
    EXPECT_EQ(reloaded->tail(), tail);
    EXPECT_EQ(reloaded->items().back().x(), 99);
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

TEST(MeshModel, DeletingTwoOfFiveItemsWritesThreeAndTheFileEndsWithTheMap)
{
    MemoryBytes map(test::meshPlugIn({2, 2, 5, 5, 500, 0, 0}));
    const Bytes before = map.bytes();
    auto model = loadModel(map);
    const MeshItem kept = *std::next(model->items().begin(), 2);
    EXPECT_TRUE(model->removeItem(model->items().front()));
    EXPECT_TRUE(model->removeItem(model->items().back()));
    ScriptedPrompter prompter;
    ASSERT_TRUE(test::shown(prompter, model->writeMap(prompter)));
    EXPECT_EQ(number(*model, MeshNumber::itemCount), 3);
    EXPECT_EQ(number(*model, MeshNumber::itemLength), 192);
    EXPECT_EQ(number(*model, MeshNumber::section1Offset), number(*model, MeshNumber::itemOffset) + 192);

    const Bytes after = map.bytes();
    ASSERT_EQ(after.size(), before.size() - 128);  // nothing of the old map stays behind the new one
    EXPECT_EQ(readBigEndian32(after.data() + 52), after.size() - kTagData);

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
    ASSERT_TRUE(test::shown(prompter, model->writeMap(prompter)));
    const Bytes first = map.bytes();
    ASSERT_TRUE(test::shown(prompter, model->writeMap(prompter)));
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
    ASSERT_TRUE(test::shown(prompter, model->writeMap(prompter)));
    EXPECT_TRUE(model->removeItemType(only));
    EXPECT_TRUE(model->itemTypes().empty());
    EXPECT_FALSE(model->removeItemType(only));
    model->addItem();
    ASSERT_TRUE(test::shown(prompter, model->writeMap(prompter)));
    model.reset();

    auto reloaded = loadModel(map);
    EXPECT_TRUE(reloaded->itemTypes().empty());
    EXPECT_EQ(reloaded->items().size(), 1u);
    EXPECT_EQ(number(*reloaded, MeshNumber::itemOffset), number(*reloaded, MeshNumber::typesBase));
}

// Items of a type that another type with the same category and reference also
// has keep a type when one of the two goes.
TEST(MeshModel, ItemsOnlyOfATypeLeaveOutThoseATwinTypeAlsoHas)
{
    MemoryBytes map(test::meshPlugIn());
    auto model = loadModel(map);
    ItemType& units = model->itemTypes().front();
    const std::size_t users = model->itemsOnlyOf(units).size();
    EXPECT_GT(users, 0u);
    model->addItemType() = units;
    EXPECT_TRUE(model->itemsOnlyOf(units).empty());
    EXPECT_TRUE(model->itemsOnlyOf(model->itemTypes().back()).empty());
}

TEST(MeshModel, AMapNotLaidOutBackToBackInsideItsTagAndFileIsRefusedBeforeAnythingIsRead)
{
    const Bytes good = buildPlugIn({"m", "mesh", "m", 0, sampleMeshData({1, 1, 2, 2, 100, 10, 10})});
    const std::size_t tagLength = good.size() - kTagData;
    const auto number = [&good](std::size_t offset, std::int64_t value) { return withNumber32(good, offset, value); };
    const auto moved = [&good](std::size_t offset, std::int64_t amount) { return withNumberMoved(good, offset, amount); };
    struct Case {
        const char* what;
        Bytes plugIn;
        std::string message;
    };
    Bytes stli = buildPlugIn({"list", "stli", "st", 0, Bytes(2000)});
    Bytes gap = moved(40, 16);
    writeBigEndian32(gap.data() + kTagData + 16, 2048 + 16);
    const Case cases[] = {
        {"another type", stli, "This Editor cannot currently edit stli type objects"},
        {"short file", Bytes(good.begin(), good.begin() + 1087), "ERROR - The file is too short to hold a map."},
        {"negative width", number(8, 0xFFFF0001), "ERROR - The map's width is negative (-1)."},
        {"negative count", number(52, -1), "ERROR - The map's item count is negative (-1)."},
        {"negative section", number(196, -5), "ERROR - The map's section 2 length is negative (-5)."},
        {"type length", number(44, 40),
         "ERROR - The map's item-type table length (40) is not 32 times its item-type count (2)."},
        {"item length", number(60, 100),
         "ERROR - The map's item table length (100) is not 64 times its item count (2)."},
        {"huge type count", number(36, 0x7FFFFFFF),
         "ERROR - The map's item-type table length (64) is not 32 times its item-type count (2147483647)."},
        {"type offset", moved(40, 1), "ERROR - The map's item-type table offset (2049) differs from its item-type base (2048)."},
        {"gap after the grid", gap,
         "ERROR - The map's item-type table does not follow its cell grid: 16 bytes lie between them."},
        {"types in the grid", moved(24, -8), "ERROR - The map's item-type table overlaps its cell grid."},
        {"gap before the items", moved(56, 8),
         "ERROR - The map's item table does not follow its item-type table: 8 bytes lie between them."},
        {"sections overlap", moved(192, -1), "ERROR - The map's section 2 overlaps its section 1."},
        {"section past the file", moved(208, 1), "ERROR - The map's section 3 runs past the end of the file."},
        {"huge grid", number(8, 0x7FFF7FFF), "ERROR - The map's cell grid runs past the end of the file."},
        {"data end", moved(28, 1), "ERROR - The map's end of data (" + std::to_string(tagLength + 1) +
                                       ") is not the end of its section 3 (" + std::to_string(tagLength) + ")."},
        {"tag shorter than the map", withNumberMoved(good, 52 - kTagData, -1),
         "ERROR - The map runs past the end of its tag: the tag header gives " + std::to_string(tagLength - 1) +
             " bytes of data, the map needs " + std::to_string(tagLength) + "."},
        {"tag longer than the file", withNumberMoved(good, 52 - kTagData, 1),
         "ERROR - The tag runs past the end of the file: the tag header gives " + std::to_string(tagLength + 1) +
             " bytes of data, the file holds " + std::to_string(tagLength) + " behind the header."},
    };
    for (const Case& c : cases) {
        MemoryBytes map(c.plugIn);
        auto model = openModel(map);
        const auto problem = model->load();
        ASSERT_TRUE(problem.has_value()) << c.what;
        EXPECT_EQ(*problem, c.message) << c.what;
        EXPECT_TRUE(model->cells().empty() && model->itemTypes().empty() && model->items().empty()) << c.what;
        EXPECT_EQ(map.bytes(), c.plugIn) << c.what;
    }
}

// Loads the map from disk through faults, adds an item, and saves: the step
// `step` of the save fails, or ends the process.
bool saveWithFault(const std::string& path, test::FaultPlan& plan, ScriptedPrompter& prompter)
{
    test::FaultyFile file(path, File::Share::None, plan);
    auto model = loadModel(file);
    model->addItem().setY(7);
    return test::shown(prompter, model->writeMap(prompter));
}

#ifndef _WIN32
void saveKilledAt(const std::string& path, int step)
{
    test::FaultPlan plan(step, test::FaultPlan::Fault::Kill);
    ScriptedPrompter prompter;
    (void)saveWithFault(path, plan, prompter);
}
#endif

TEST(MeshModelDeathTest, ASaveFailedOrKilledAtAnyWriteOrSyncLeavesTheMapAsItWasOrAsSaved)
{
    const Bytes before = withTail(test::meshPlugIn(), 3, 2);
    test::FaultPlan clean;
    Bytes saved;
    {
        test::TempDir dir;
        const std::string path = dir.write("map", before);
        ScriptedPrompter quiet;
        ASSERT_TRUE(saveWithFault(path, clean, quiet));
        saved = test::readAll(path);
    }
    ASSERT_NE(saved, before);
    // Every step but the last two writes the new file; the syncs come before and after the rename.
    ASSERT_GE(clean.steps.size(), 4u);
    EXPECT_EQ(std::count(clean.steps.begin(), clean.steps.end(), "write"), std::ptrdiff_t(clean.steps.size()) - 2);
    EXPECT_EQ(std::vector<std::string>(clean.steps.end() - 2, clean.steps.end()),
              (std::vector<std::string>{"sync", "sync"}));

    const int steps = static_cast<int>(clean.steps.size());
    for (int step = 1; step <= steps; ++step) {
        const Bytes& expected = step == steps ? saved : before;  // only the sync after the rename leaves the new map
        test::TempDir dir;
        const std::string path = dir.write("map", before);
        test::FaultPlan plan(step);
        ScriptedPrompter prompter;
        EXPECT_FALSE(saveWithFault(path, plan, prompter)) << step;
        EXPECT_EQ(test::readAll(path), expected) << "error at step " << step;
        ASSERT_EQ(prompter.shown().size(), 2u) << step;
        EXPECT_EQ(prompter.shown()[1].text.rfind("ERROR - The map was not saved safely.\n", 0), 0u) << step;
        EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{"map"}) << step;

#ifndef _WIN32  // there the dying process repeats the test with a folder of its own (test::kDeathTestsRestart)
        (void)dir.write("map", before);
        EXPECT_EXIT(saveKilledAt(path, step), ::testing::ExitedWithCode(test::FaultPlan::kKilledExitCode), "");
        EXPECT_EQ(test::readAll(path), expected) << "killed at step " << step;
#endif
    }
}

TEST(MeshModel, AMissingFileIsReportedAsNotFound)
{
    EXPECT_EQ(writeFailureText(FileError(FileErrorCause::NotFound, "x")), "File not found");
    EXPECT_EQ(writeFailureText(FileError(FileErrorCause::DiskFull, "x")),
              "unexplained file exception: " + std::to_string(static_cast<int>(FileErrorCause::DiskFull)));
}

}  // namespace
}  // namespace tagwarden
