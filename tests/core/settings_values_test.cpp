#include <gtest/gtest.h>

#include <fstream>

#include "core/settings/recent_files.h"
#include "core/settings/settings_values.h"
#include "core/settings/tags_locator.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

using namespace settings;

TEST(SettingsValues, LoadNeedsBothDirectoriesAndLeavesSwitchesUnreadOtherwise)
{
    MemorySettingsStore store;
    store.writeInt(kSection, kAsciiDisplay, 1);
    store.writeString(kSection, kTagsDirectory, "/games/vorn/");
    SettingsValues values;
    EXPECT_FALSE(loadSettings(values, store));  // "Backup" missing
    EXPECT_EQ(values.tagsDirectory, "/games/vorn/");
    EXPECT_EQ(values.asciiDisplay, 0);

    store.writeString(kSection, kBackupDirectory, "/games/vorn/Backup/");
    store.writeInt(kSection, kAllowMods, 1);
    ASSERT_TRUE(loadSettings(values, store));
    EXPECT_EQ(values.backupDirectory, "/games/vorn/Backup/");
    EXPECT_EQ(values.asciiDisplay, 1);
    EXPECT_EQ(values.allowMods, 1);
    EXPECT_EQ(values.allowOverwrites, 0);

    store.writeString(kSection, kTagsDirectory, "");
    EXPECT_FALSE(loadSettings(values, store));
}

TEST(SettingsValues, SaveWritesAllFiveAndLoadsBackUnchanged)
{
    const SettingsValues saved{"/b/", "/t/", 1, 0, 1};
    MemorySettingsStore store;
    saveSettings(saved, store);
    SettingsValues loaded;
    ASSERT_TRUE(loadSettings(loaded, store));
    EXPECT_EQ(loaded, saved);
}

TEST(SettingsValues, FirstStartUsesTheWinePrefixUnderHome)
{
    const SettingsValues values = firstStartSettings("/home/modder");
#ifdef _WIN32  // the game's own folder, no Wine prefix
    EXPECT_EQ(values.tagsDirectory, "c:\\Program Files\\Vorn_Saga\\Tags\\");
    EXPECT_EQ(values.backupDirectory, "c:\\Program Files\\Vorn_Saga\\Tags\\Backup\\");
#else
    EXPECT_EQ(values.tagsDirectory, "/home/modder/.wine/drive_c/Program Files/Vorn_Saga/Tags/");
    EXPECT_EQ(values.backupDirectory, "/home/modder/.wine/drive_c/Program Files/Vorn_Saga/Tags/Backup/");
#endif
    EXPECT_EQ(values.asciiDisplay, 1);
    EXPECT_EQ(values.allowMods, 1);
    EXPECT_EQ(values.allowOverwrites, 0);
}

TEST(SettingsValues, TagsDirectoryGainsOneSeparatorThatStays)
{
    std::string field = test::native("/games/vorn");
    EXPECT_EQ(getTagsDirectory(field), test::native("/games/vorn/"));
    EXPECT_EQ(field, test::native("/games/vorn/"));
    EXPECT_EQ(getTagsDirectory(field), test::native("/games/vorn/"));  // not a second one

    std::string empty;
    const std::string separator = test::native("a/").substr(1);
    EXPECT_EQ(getTagsDirectory(empty), separator);
    EXPECT_EQ(empty, separator);
}

TEST(TagsLocator, InitialNameIsThePlaceholderInTheTypedFolder)
{
    EXPECT_EQ(tags_locator::initialName(test::native("/games/vorn")), test::native("/games/vorn/Find the Tags .gor"));
    EXPECT_EQ(tags_locator::initialName(test::native("/games/vorn/")), test::native("/games/vorn/Find the Tags .gor"));
    EXPECT_EQ(tags_locator::initialName(""), test::native("a/Find the Tags .gor").substr(1));
}

TEST(TagsLocator, FolderOfAChosenNameHasNoTrailingSeparator)
{
    EXPECT_EQ(tags_locator::folderOf(test::native("/games/vorn/tags.gor")), test::native("/games/vorn"));
    EXPECT_EQ(tags_locator::folderOf(test::native("/games/vorn/Find the Tags .gor")), test::native("/games/vorn"));
    EXPECT_EQ(tags_locator::backupFolder(test::native("/games/vorn")), test::native("/games/vorn/Backup"));
    EXPECT_EQ(tags_locator::folderOf(test::native("/tags.gor")), test::native("/"));  // the root stays the root
    EXPECT_EQ(tags_locator::backupFolder(test::native("/")), test::native("/Backup"));
}

TEST(TagsLocator, FindsTagsGorOnlyAsAFileInThatFolder)
{
    const test::TempDir dir;
    EXPECT_FALSE(tags_locator::holdsTagsGor(dir.path().string()));
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::create_directory(dir.path() / "sub" / "tags.gor");
    EXPECT_FALSE(tags_locator::holdsTagsGor((dir.path() / "sub").string()));
    std::ofstream(dir.file("tags.gor")) << "x";
    EXPECT_TRUE(tags_locator::holdsTagsGor(dir.path().string()));
}

TEST(TagsLocator, MissingTextReadsAsTheBoxShowsIt)
{
    EXPECT_EQ(tags_locator::missingText("/games/vorn"),
              "The Directory:\n    /games/vorn       \n\ndoes not contain the file:  tags.gor\n\n"
              "Press OK to accept the above directory anyway.");
}

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostEight)
{
    MemorySettingsStore store;
    RecentFiles recent(store);
    EXPECT_TRUE(recent.paths().empty());
    for (int i = 0; i < 10; ++i)
        recent.add("/f" + std::to_string(i));
    recent.add("/f5");  // again: moves up, no second line
    const std::vector<std::string> expected{"/f5", "/f9", "/f8", "/f7", "/f6", "/f4", "/f3", "/f2"};
    EXPECT_EQ(recent.paths(), expected);
    EXPECT_EQ(RecentFiles(store).paths(), expected);  // kept in the store

    recent.remove("/f9");
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/f5", "/f8", "/f7", "/f6", "/f4", "/f3", "/f2"}));
    EXPECT_EQ(store.readString("Recent", "File8"), "");
}

}  // namespace
}  // namespace tagwarden
