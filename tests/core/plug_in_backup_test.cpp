#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <functional>

#include "core/editors/plug_in_backup.h"
#include "core/io/file.h"
#include "core/prompt/scripted_prompter.h"
#include "core/settings/settings_store.h"
#include "fault_injection.h"
#include "support/shown.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

using test::readAll;

TEST(PlugInBackup, GoesUnderThePathBelowTheTagsDirectoryOrUnderItsOwnName)
{
    const struct {
        const char* plugIn;
        const char* tags;
        const char* expected;
    } cases[] = {
        {"/games/vorn/local/mesh/mpaa", "/games/vorn/", "/backup/local/mesh/mpaa"},
        {"/games/vorn/local/mesh/mpaa", "/games/vorn", "/backup/local/mesh/mpaa"},
        {"/games/vorn/./local/../local/stli/st", "/games/vorn/", "/backup/local/stli/st"},
        {"/elsewhere/mods/mpaa", "/games/vorn/", "/backup/mpaa"},
        {"/games/vornish/mpaa", "/games/vorn", "/backup/mpaa"},
        {"/games/vorn/local/mons/ms", "", "/backup/ms"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backupPath(test::native(c.plugIn), test::native(c.tags), test::native("/backup")),
                  test::native(c.expected))
            << c.plugIn;
}

class PlugInBackupTest : public ::testing::Test {
protected:
    PlugInBackupTest()
    {
        settings.writeString(settings::kSection, settings::kTagsDirectory, dir.path().string());
        settings.writeString(settings::kSection, settings::kBackupDirectory, dir.file("Backup"));
    }

    // The plug-in as an editor holds it, and whether the save may go on.
    bool beforeSave(const std::string& path)
    {
        const File plugIn(path, File::Access::ReadWrite, File::Share::DenyWrite);
        PlugInBackup backup(settings);
        return test::shown(prompter, backup.beforeSave(plugIn, prompter));
    }

    test::TempDir dir;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    const Bytes original{'o', 'l', 'd'};
    const Bytes earlier{'e', 'a', 'r', 'l', 'y'};
};

TEST_F(PlugInBackupTest, AnEarlierBackupIsKeptUnlessOverwritesAreAllowed)
{
    const std::string path = dir.write("local/mesh/mpaa", original);
    const std::string backup = dir.file("Backup/local/mesh/mpaa");
    const struct {
        bool earlierBackup;
        int overwrite;
        const Bytes& expected;
        const char* told;
    } cases[] = {
        {false, 0, original, "The file as it was before this save is backed up as:\n"},
        {false, 1, original, "The file as it was before this save is backed up as:\n"},
        {true, 0, earlier, "A backup of this file made earlier is kept, unchanged, as:\n"},
        {true, 1, original, "The file as it was before this save is backed up as:\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir.file("Backup"));
        if (c.earlierBackup)
            dir.write("Backup/local/mesh/mpaa", earlier);
        settings.writeInt(settings::kSection, settings::kOverwrite, c.overwrite);
        prompter.clearRecord();
        EXPECT_TRUE(beforeSave(path));
        EXPECT_EQ(readAll(backup), c.expected) << c.earlierBackup << c.overwrite;
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(prompter.shown()[0].text.rfind(c.told + backup, 0), 0u) << prompter.shown()[0].text;
        EXPECT_EQ(test::namesIn(dir.file("Backup/local/mesh")), std::vector<std::string>{"mpaa"});
    }
}

TEST_F(PlugInBackupTest, OnlyTheFirstSaveBacksUp)
{
    const std::string path = dir.write("local/stli/st", original);
    File plugIn(path, File::Access::ReadWrite, File::Share::DenyWrite);
    PlugInBackup backup(settings);
    ASSERT_TRUE(test::shown(prompter, backup.beforeSave(plugIn, prompter)));
    plugIn.replace([](ByteSource& out) { out.writeAt(0, "new", 3); });
    EXPECT_TRUE(test::shown(prompter, backup.beforeSave(plugIn, prompter)));
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(readAll(dir.file("Backup/local/stli/st")), original);
}

TEST_F(PlugInBackupTest, WithoutABackupTheSaveAsksAndCancelStopsIt)
{
    const std::string path = dir.write("local/mons/ms", original);
    const struct {
        const char* what;
        std::function<void()> arrange;
        const char* reason;
    } cases[] = {
        {"no backup directory", [&] { settings.writeString(settings::kSection, settings::kBackupDirectory, ""); },
         "No backup directory is set in the settings."},
        {"a file where a folder is needed", [&] { dir.write("Backup", earlier); }, "Backup"},
        {"the backup is the file itself",
         [&] { settings.writeString(settings::kSection, settings::kBackupDirectory, dir.path().string()); },
         "The backup would be the file itself"},
        {"a folder in the backup's place",
         [&] { std::filesystem::create_directories(dir.file("Backup/local/mons/ms")); }, "is a folder"},
        // Only a regular file is an earlier backup; anything else in its place leaves no room for one.
        // MinGW's library makes no links, and Windows has no FIFOs.
#ifndef _WIN32
        {"a dangling link in the backup's place",
         [&] {
             std::filesystem::create_directories(dir.file("Backup/local/mons"));
             std::filesystem::create_symlink(dir.file("nowhere"), dir.file("Backup/local/mons/ms"));
         },
         "is a link"},
        {"a link to a file in the backup's place",
         [&] {
             std::filesystem::create_directories(dir.file("Backup/local/mons"));
             std::filesystem::create_symlink(dir.write("elsewhere", earlier), dir.file("Backup/local/mons/ms"));
         },
         "is a link"},
        {"a pipe in the backup's place",
         [&] {
             std::filesystem::create_directories(dir.file("Backup/local/mons"));
             ASSERT_EQ(::mkfifo(dir.file("Backup/local/mons/ms").c_str(), 0600), 0);
         },
         "is a pipe (FIFO)"},
#endif
    };
    for (const auto& c : cases) {
        for (const auto answer : {Prompter::Answer::Cancel, Prompter::Answer::Ok}) {
            settings.writeString(settings::kSection, settings::kBackupDirectory, dir.file("Backup"));
            std::filesystem::remove_all(dir.file("Backup"));
            c.arrange();
            prompter.clearRecord();
            prompter.queueAnswer(answer);
            EXPECT_EQ(beforeSave(path), answer == Prompter::Answer::Ok) << c.what;
            ASSERT_EQ(prompter.shown().size(), 1u) << c.what;
            const auto& question = prompter.shown()[0];
            EXPECT_EQ(question.text.rfind("No backup of the file could be made. ", 0), 0u) << question.text;
            EXPECT_NE(question.text.find(c.reason), std::string::npos) << question.text;
            EXPECT_TRUE(question.buttons == Prompter::Buttons::OkCancel) << c.what;
            EXPECT_EQ(readAll(path), original) << c.what;
        }
    }
}

}  // namespace
}  // namespace tagwarden
