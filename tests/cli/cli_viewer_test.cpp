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

TEST(CliView, PrintsTheViewerLinesInEitherLayout)
{
    test::TempDir dir;
    const std::string path =
        dir.write("tags.gor", buildArchive({{"Words", "stli", "wxyz", 0, {'A', 'B', 0x0A}}, {"Big", "mons", "abcd", 0, Bytes(5000, 0x61)}}));

    const auto small = cli({"view", path, "stli:wxyz"});
    EXPECT_EQ(small.exitCode, 0);
    EXPECT_EQ(small.out, "0000000064: 41 42 0A   \n");
    const auto smallAscii = cli({"view", path, "0", "--ascii"});
    EXPECT_EQ(smallAscii.out, "0000000064: 41 42 0A   \t\t\t\t\t\t\t   AB.\n");

    const auto big = cli({"view", path, "mons:abcd"});
    EXPECT_EQ(lineCount(big.out), 64u);
    std::string groups;
    for (int i = 0; i < 16; ++i)
        groups += "61 ";
    EXPECT_EQ(big.out.substr(0, 111), "0000000067: " + groups + "  " + groups + "\n");
    EXPECT_EQ(big.out.find('\n'), 110u);
    const auto bigAscii = cli({"view", path, "1", "--ascii"});
    EXPECT_EQ(lineCount(bigAscii.out), 103u);
    EXPECT_EQ(bigAscii.out.find('\n'), 97u);
}

TEST(CliView, BadSelectionOrFileFails)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"Words", "stli", "wxyz", 0, {1}}}));
    const auto noEntry = cli({"view", path, "mons:abcd"});
    EXPECT_EQ(noEntry.exitCode, 1);
    EXPECT_EQ(noEntry.out, "");
    EXPECT_NE(noEntry.err, "");
    const auto noDirectory = cli({"view", dir.write("junk", Bytes(80, 0)), "0"});
    EXPECT_EQ(noDirectory.exitCode, 1);
    EXPECT_EQ(noDirectory.err, "ERROR - No Directory Found\n");
}

TEST(CliExtract, WritesTheProposedPlugInOnceAndRefusesTheSecondTime)
{
    test::TempDir dir;
    const TagSpec tag{"Archer", "mons", "abcd", 3, Bytes(1500, 7)};
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
    const std::vector<TagSpec> tags{{"One", "mons", "aaaa", 0, {1}},
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
