#include <gtest/gtest.h>

#include <functional>

#include <filesystem>
#include <set>

#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "core/tags/tag_text.h"
#include "core/viewer/tag_data.h"
#include "fault_injection.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

namespace fs = std::filesystem;

struct OpenDirectory {
    File file;
    TagDirectory directory;
    ReadOutcome outcome;
};

std::unique_ptr<OpenDirectory> open(const std::string& path)
{
    auto opened = std::make_unique<OpenDirectory>();
    opened->file = File(path, File::Access::Read, File::Share::None);
    opened->outcome = readDirectory(opened->directory, opened->file, nullptr);
    return opened;
}

TEST(ArchiveBuilder, ArchiveReadsBackWithDataWhereItsHeadersPoint)
{
    const std::vector<SampleTag> tags{{"First", "mons", "abcd", 9, Bytes{1, 2, 3}},
                                    {std::string(40, 'L'), "stli", "wx", 0, Bytes{}},
                                    {"Third", "mesh", "mpaa", 255, Bytes(70, 0xAB)}};
    test::TempDir dir;
    const auto opened = open(dir.write("tags.gor", buildArchive(tags)));
    ASSERT_EQ(opened->outcome, ReadOutcome::Archive);
    ASSERT_EQ(opened->directory.entryCount(), tags.size());
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const TagEntry& entry = opened->directory.entryAt(i);
        EXPECT_EQ(entry.name(), tags[i].name.substr(0, 32));
        EXPECT_EQ(upToNul(entry.type()), tags[i].type);
        EXPECT_EQ(upToNul(entry.id()), tags[i].id);
        EXPECT_EQ(entry.number(), tags[i].number);
        EXPECT_EQ(entry.signature(), "vorn");
        EXPECT_EQ(entry.dataLength(), tags[i].data.size());
        TagData data;
        (void)data.load(opened->file, entry);
        EXPECT_EQ(data.bytes(), tags[i].data);
    }
}

TEST(ArchiveBuilder, PlugInHeaderPointsRightBehindItself)
{
    const SampleTag tag{"Unit", "mons", "msaa", 0, Bytes(512, 0x5A)};
    const Bytes plugIn = buildPlugIn(tag);
    ASSERT_EQ(plugIn.size(), 64u + 512u);
    const TagHeaderBytes header = makeHeader(tag, 64);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), plugIn.begin()));
    EXPECT_EQ(readBigEndian32(plugIn.data() + 48), 64u);
    EXPECT_EQ(readBigEndian32(plugIn.data() + 52), 512u);
}

TEST(ArchiveBuilder, WriteBytesReplacesALongerFileWhole)
{
    test::TempDir dir;
    const std::string path = dir.write("f", Bytes(100, 1));
    writeBytes(path, Bytes{7, 8});
    EXPECT_EQ(test::readAll(path), (Bytes{7, 8}));
}

TEST(SampleDirectory, HoldsAnArchiveOfManyTypesAndPlugInsForTheEditors)
{
    test::TempDir dir;
    const std::string root = dir.file("new/sample");  // created when missing
    writeSampleDirectory(root);

    const auto archive = open(root + "/tags.gor");
    ASSERT_EQ(archive->outcome, ReadOutcome::Archive);
    EXPECT_GE(archive->directory.entryCount(), 200u);
    std::set<std::string> types;
    std::size_t members = 0;
    for (const TypeGroup& group : archive->directory.typeGroups()) {
        types.insert(group.type);
        members += group.members.size();
    }
    for (const char* type : {"mons", "stli", "mesh", "proj", "obje", "core", "prgr"})
        EXPECT_EQ(types.count(type), 1u) << type;
    EXPECT_GT(types.size(), 7u);
    EXPECT_LT(members, archive->directory.entryCount()) << "some ids are duplicates";

    const auto plugIn = [&root](const std::string& type, const std::string& id) {
        const std::string path = root + "/local/" + type + "/" + id;
        auto opened = open(path);
        EXPECT_EQ(opened->outcome, ReadOutcome::SingleTag) << path;
        EXPECT_EQ(upToNul(opened->directory.entryAt(0).type()), type);
        EXPECT_EQ(opened->directory.entryAt(0).startAddress(), 64u);
        EXPECT_EQ(opened->directory.entryAt(0).dataLength(), fs::file_size(path) - 64) << path;
        return opened;
    };
    for (const auto& entry : fs::directory_iterator(root + "/local/mons")) {
        EXPECT_EQ(fs::file_size(entry.path()), 64u + 512u);
        (void)plugIn("mons", entry.path().filename().string());
    }
    const auto strings = plugIn("stli", "stab");
    TagData data;
    (void)data.load(strings->file, strings->directory.entryAt(0));
    EXPECT_EQ(data.bytes().back(), std::uint8_t{'\r'}) << "every line ends with CR";
    const auto map = plugIn("mesh", "mpaa");
    EXPECT_GT(map->directory.entryAt(0).dataLength(), 51200u);
}

TEST(SampleDirectory, RefusesAnythingButANewOrEmptyFolder)
{
    const std::vector<std::pair<const char*, std::function<std::string(test::TempDir&)>>> cases{
        {"archive", [](test::TempDir& d) { d.write("tags.gor", Bytes{1, 2, 3}); return d.path().string(); }},
        {"plug-in only", [](test::TempDir& d) { fs::create_directories(d.file("local/mons"));
                                                d.write("local/mons/msaa", Bytes{1, 2, 3}); return d.path().string(); }},
#ifndef _WIN32  // MinGW's library makes no links
        {"dangling tags.gor link",
         [](test::TempDir& d) { fs::create_symlink(d.file("elsewhere"), d.file("tags.gor")); return d.path().string(); }},
#endif
        {"a file", [](test::TempDir& d) { return d.write("plain", Bytes{1, 2, 3}); }},
    };
    for (const auto& [what, plant] : cases) {
        test::TempDir dir;
        const std::string target = plant(dir);
        const auto before = test::namesIn(dir.path());
        try {
            writeSampleDirectory(target);
            ADD_FAILURE() << what << ": written";
        } catch (const FileError& e) {
            EXPECT_EQ(e.cause(), FileErrorCause::AlreadyExists) << what;
            EXPECT_EQ(e.path(), target) << what;
        }
        EXPECT_EQ(test::namesIn(dir.path()), before) << what;
    }
}

TEST(SampleDirectory, FillsAnEmptyFolder)
{
    test::TempDir dir;
    writeSampleDirectory(dir.path().string());
    EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"local", "tags.gor"}));
    EXPECT_EQ(test::namesIn(dir.path() / "local" / "mons").size(), 3u);
}

TEST(SampleTags, MeshSectionsLieBackToBackAfterTheItems)
{
    MeshLayout layout;
    const Bytes data = sampleMeshData(layout);
    const std::uint32_t dataEnd = readBigEndian32(data.data() + 28);
    EXPECT_EQ(data.size(), 1024u + dataEnd);
    const std::uint32_t section1 = readBigEndian32(data.data() + 132);
    const std::uint32_t section2 = readBigEndian32(data.data() + 192);
    const std::uint32_t section3 = readBigEndian32(data.data() + 204);
    EXPECT_EQ(readBigEndian32(data.data() + 56) + readBigEndian32(data.data() + 60), section1) << "after the items";
    EXPECT_EQ(section1 + readBigEndian32(data.data() + 136), section2);
    EXPECT_EQ(section2 + readBigEndian32(data.data() + 196), section3);
    EXPECT_EQ(section3 + readBigEndian32(data.data() + 208), dataEnd);
    EXPECT_EQ(readBigEndian32(data.data() + 136), layout.section1);
}

TEST(SampleTags, SyntheticTagsHaveDistinctIdsAndADozenTypes)
{
    const std::vector<SampleTag> tags = syntheticTags(30000);
    ASSERT_EQ(tags.size(), 30000u);
    std::set<std::string> ids, types;
    for (const SampleTag& tag : tags) {
        ids.insert(tag.id);
        types.insert(tag.type);
    }
    EXPECT_EQ(ids.size(), tags.size());
    EXPECT_EQ(types.size(), 12u);
}

}  // namespace
}  // namespace tagwarden
