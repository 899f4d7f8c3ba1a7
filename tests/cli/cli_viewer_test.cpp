#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/sample/archive_builder.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

namespace fs = std::filesystem;

test::CommandResult cli(const std::vector<std::string>& arguments) { return test::runCommand(TAGWARDEN_CLI, arguments); }

std::size_t lineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

// Lines and plug-ins byte for byte are checked against a separate reading of the
// format in viewer_check.py; these cases cover the rest of the commands' contract.

TEST(CliView, NoSuchEntryFailsWithAMessageAndNoLines)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"Words", "stli", "wxyz", 0, {1}}}));
    const auto result = cli({"view", path, "mons:abcd"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err, "");
}

TEST(CliExtract, WritesTheProposedPlugInOnceAndRefusesTheSecondTime)
{
    test::TempDir dir;
    const SampleTag tag{"Archer", "mons", "abcd", 3, Bytes(1500, 7)};
    const std::string path = dir.write("tags.gor", buildArchive({tag}));
    fs::create_directories(dir.path() / "local" / "mons");

    const auto first = cli({"extract", path, "mons:abcd"});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, "PlugIn created\n");
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(test::readAll(dir.file("local/mons/abcd")), buildPlugIn(tag));

    const auto second = cli({"extract", path, "0"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "ERROR - Plugin Already Exists\nERROR PlugIn NOT created\n");
}

TEST(CliExtract, MissingFolderIsNotCreatedForOneEntry)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"Archer", "mons", "abcd", 0, {1, 2}}}));
    const auto result = cli({"extract", path, "0", "-o", dir.file("nowhere/abcd")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "ERROR - Plugin File Couldn't be created\nERROR PlugIn NOT created\n");
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
}

TEST(CliExtract, AllMembersOfATypeGoIntoTheFolder)
{
    test::TempDir dir;
    const std::vector<SampleTag> tags{{"One", "mons", "aaaa", 0, {1}},
                                    {"Words", "stli", "bbbb", 0, {2}},
                                    {"Evil", "mons", "../x", 0, {3, 4}},
                                    {"Again", "mons", "aaaa", 0, {5}}};
    const std::string path = dir.write("tags.gor", buildArchive(tags));
    const std::string out = dir.file("made/here");

    const auto result = cli({"extract", path, "--type", "mons", "--all", "-d", out});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, out + "/aaaa: PlugIn created\n" + out + "/.._x: PlugIn created\n");
    EXPECT_EQ(test::readAll(out + "/aaaa"), buildPlugIn(tags[0]));  // the group's first aaaa
    EXPECT_EQ(test::readAll(out + "/.._x"), buildPlugIn(tags[2]));

    const auto defaultFolder = cli({"extract", path, "--type", "stli", "--all"});
    EXPECT_EQ(defaultFolder.exitCode, 0);
    EXPECT_EQ(test::readAll(dir.file("local/stli/bbbb")), buildPlugIn(tags[1]));

    const auto again = cli({"extract", path, "--type", "mons", "--all", "-d", out});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(lineCount(again.err), 4u);

    const auto noGroup = cli({"extract", path, "--type", "mesh", "--all", "-d", dir.file("unused")});
    EXPECT_EQ(noGroup.exitCode, 0);
    EXPECT_EQ(noGroup.out, "");
    EXPECT_FALSE(fs::exists(dir.file("unused")));
}

TEST(CliExtract, MixedUpOptionsAreUsageErrors)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"One", "mons", "aaaa", 0, {1}}}));
    EXPECT_EQ(cli({"extract", path}).exitCode, 2);
    EXPECT_EQ(cli({"extract", path, "--all"}).exitCode, 2);
    EXPECT_EQ(cli({"extract", path, "0", "--type", "mons", "--all"}).exitCode, 2);
    EXPECT_EQ(cli({"extract", path, "0", "-d", dir.file("x")}).exitCode, 2);
}

}  // namespace
}  // namespace tagwarden
