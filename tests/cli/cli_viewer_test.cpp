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

TEST(CliExtract, SeveralEntriesGoToTheirProposedPlugInsInFoldersMadeWhenMissing)
{
    test::TempDir dir;
    const std::vector<SampleTag> tags{{"Bolt", "proj", "pjaa", 0, {1, 2}}, {"Archer", "mons", "abcd", 0, {3}}};
    const std::string path = dir.write("tags.gor", buildArchive(tags));
    const auto one = cli({"extract", path, "proj:pjaa"});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(test::readAll(dir.file("local/proj/pjaa")), buildPlugIn(tags[0]));

    const auto both = cli({"extract", path, "1", "proj:pjaa"});
    EXPECT_EQ(both.exitCode, 1);  // the second exists already
    EXPECT_EQ(both.out, dir.file("local/mons/abcd") + ": PlugIn created\n");
    EXPECT_EQ(both.err, dir.file("local/proj/pjaa") + ": ERROR - Plugin Already Exists\n" + dir.file("local/proj/pjaa") +
                            ": ERROR PlugIn NOT created\n");
    EXPECT_EQ(test::readAll(dir.file("local/mons/abcd")), buildPlugIn(tags[1]));
    EXPECT_EQ(cli({"extract", path, "0", "1", "-o", dir.file("x")}).exitCode, 2);
}

TEST(CliExtract, MissingFolderIsNotCreatedForOneEntry)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"Archer", "mons", "abcd", 0, {1, 2}}}));
    const auto result = cli({"extract", path, "0", "-o", dir.file("nowhere/abcd")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "ERROR - Plugin File Couldn't be created: The file \"" + dir.file("nowhere/abcd") +
                              "\" could not be found. (" + test::missingWords(dir.file("nowhere/abcd")) +
                              ")\nERROR PlugIn NOT created\n");
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
    EXPECT_EQ(result.out, test::native(out + "/aaaa") + ": PlugIn created\n" + test::native(out + "/.._x") +
                              ": PlugIn created\n");
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

TEST(CliView, DataCutShortIsPrintedAsReadAndSaidOnStderr)
{
    test::TempDir dir;
    const Bytes plugIn = buildPlugIn({"Cut", "mons", "abcd", 0, Bytes(100, 0x41)});
    // Kept bytes of the data, and the hex lines they make.
    for (const auto& [kept, lines] : std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}, {40, 2}}) {
        const std::string path = dir.write("cut", Bytes(plugIn.begin(), plugIn.begin() + 64 + static_cast<long>(kept)));
        const auto result = cli({"view", path, "0"});
        EXPECT_EQ(result.exitCode, 1) << kept;
        EXPECT_EQ(lineCount(result.out), lines) << kept;
        EXPECT_EQ(result.err, "WARNING - only " + std::to_string(kept) +
                                  " of 100 bytes could be read: the file ends before the tag's data does\n");
    }
}

TEST(CliExtract, ForceReplacesAPlugInThatHoldsData)
{
    test::TempDir dir;
    const SampleTag tag{"Archer", "mons", "abcd", 3, Bytes(20, 7)};
    const std::string path = dir.write("tags.gor", buildArchive({tag}));
    const std::string target = dir.write("old", Bytes{1, 2, 3});
    EXPECT_EQ(cli({"extract", path, "0", "-o", target}).exitCode, 1);
    EXPECT_EQ(test::readAll(target), (Bytes{1, 2, 3}));
    const auto forced = cli({"extract", path, "0", "-o", target, "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_EQ(test::readAll(target), buildPlugIn(tag));
}

TEST(CliMessages, PathsAndSelectorsAreEscaped)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"One", "mons", "aaaa", 0, {1}}}));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"extract", path, "0", "-o", dir.file("no\x1b[2Jwhere/x")}, test::native("no\\x1B[2Jwhere/x")},
        {{"view", path, "\x07zz\n"}, "\"\\x07zz\\x0A\""},
        {{"list", dir.file("gone\r")}, "gone\\x0D\""},
    };
    for (const auto& [arguments, shown] : cases) {
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, 1) << shown;
        EXPECT_NE(result.err.find(shown), std::string::npos) << result.err;
        EXPECT_EQ(std::count_if(result.err.begin(), result.err.end(), [](char c) { return c != '\n' && c < 0x20; }), 0)
            << result.err;
    }
}

}  // namespace
}  // namespace tagwarden
