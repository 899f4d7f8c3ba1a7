#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

namespace fs = std::filesystem;

test::CommandResult cli(const std::vector<std::string>& arguments) { return test::runCommand(TAGWARDEN_CLI, arguments); }

// Values shown and bytes written are checked against a separate reading of the
// plug-ins in editor_check.py; these cases cover refusals, usage and backups.
class CliEditors : public ::testing::Test {
protected:
    test::TempDir dir;
    const std::string unit = dir.write("unit", buildPlugIn({"Archer", "mons", "abcd", 0, sampleMonsBlock(1)}));
    const std::string words = dir.write("words", buildPlugIn({"Words", "stli", "wxyz", 0, sampleStliData({"A"})}));
    const std::string archive = dir.write("tags.gor", buildArchive({{"Archer", "mons", "abcd", 0, sampleMonsBlock(1)}}));
    const std::string tiny = dir.write("tiny", Bytes(30, 0));
    const std::string cut = dir.write("cut", Bytes(buildPlugIn({"Map", "mesh", "mp", 0, Bytes(600, 0)})));
    const std::string missing = dir.file("missing");
    const std::string text = dir.write("lines.txt", Bytes{'B', '\n'});
    const std::string zeroText = dir.write("zero.txt", Bytes{'a', 'b', 'c', 0, 'd', 'e', 'f'});
};


TEST_F(CliEditors, FilesTheEditorsRefuseFailWithTheirMessageAndStayUnchanged)
{
    const auto tooShortMessage = [](const std::string& path) {
        return "The file \"" + path + "\" is too short to edit: it holds 66 bytes, but needs 576 for the 64-byte tag "
                                      "header and 512 bytes of data. The file was left unchanged.";
    };
    const std::string noHeader = "The file \"" + tiny + "\" is too short to edit: it holds 30 bytes, but needs 64 for "
                                 "a tag header. The file was left unchanged.";
    const std::string notFound = "The file \"" + missing + "\" could not be found. (" + test::missingWords(missing) + ")";
    const struct {
        std::vector<std::string> arguments;
        std::string path;
        std::string message;
    } cases[] = {
        {{"mons", "show", words}, words, "This Editor cannot currently edit stli type objects"},
        {{"mons", "show", archive}, archive, "This Editor cannot currently edit  type objects"},
        {{"mons", "show", tiny}, tiny, noHeader},
        {{"mons", "show", missing}, missing, notFound},
        {{"mons", "set", unit, words, "--set", "ammo=1"}, unit,
         words + ": This Editor cannot currently edit stli type objects\nERROR - No file was changed."},
        {{"stli", "show", unit}, unit, "This Editor cannot currently edit mons type objects"},
        {{"stli", "set", unit, "--from", text}, unit, "This Editor cannot currently edit mons type objects"},
        {{"stli", "set", words, "--from", missing}, words, notFound},
        {{"stli", "set", words, "--from", zeroText}, words,
         "ERROR - \"" + zeroText + "\" holds a zero byte (at byte 3), which a string list cannot show. Nothing was "
                                   "written."},
        {{"mesh", "show", unit}, unit, "This Editor cannot currently edit mons type objects"},
        {{"mesh", "show", cut}, cut, "ERROR - The file is too short to hold a map."},
        {{"mesh", "show", missing}, missing, notFound},
    };
    for (const auto& c : cases) {
        const std::string label = c.arguments[0] + " " + c.arguments[1] + " " + c.arguments[2];
        const Bytes before = fs::exists(c.path) ? test::readAll(c.path) : Bytes{};
        const auto result = cli(c.arguments);
        EXPECT_EQ(result.exitCode, 1) << label;
        EXPECT_EQ(result.out, "") << label;
        EXPECT_EQ(result.err, c.message + "\n") << label;
        EXPECT_EQ(fs::exists(c.path) ? test::readAll(c.path) : Bytes{}, before) << label;
    }
    const std::string shortUnit = dir.write("short", buildPlugIn({"Words", "mons", "wxyz", 0, sampleStliData({"A"})}));
    EXPECT_EQ(cli({"mons", "show", shortUnit}).err, tooShortMessage(shortUnit) + "\n");
}

TEST_F(CliEditors, ValuesTheFormWouldNotTakeAreRefusedBeforeAnyFileIsRead)
{
    const Bytes before = test::readAll(unit);
    const struct {
        const char* assignment;
        const char* message;
    } cases[] = {
        {"terrain.deep=maybe", "ERROR - terrain.deep takes yes or no, not \"maybe\""},
        {"core_code=abcde", "ERROR - core_code takes at most 4 characters, not \"abcde\""},
        {"description=123456789012345678901234567890123",
         "ERROR - description takes at most 32 characters, not \"123456789012345678901234567890123\""},
        {"health=12x", "Please enter an integer between 1 and 255 for Health (hp)."},
        {"walk_rate=", "Please enter an integer between 0 and 255 for Walk Rate."},
    };
    for (const auto& c : cases) {
        const auto result = cli({"mons", "set", unit, missing, "--set", c.assignment});
        EXPECT_EQ(result.exitCode, 1) << c.assignment;
        EXPECT_EQ(result.err, std::string(c.message) + "\n") << c.assignment;
    }
    EXPECT_EQ(test::readAll(unit), before);
}

TEST_F(CliEditors, UsageErrorsExitWithTwo)
{
    const std::vector<std::vector<std::string>> cases{
        {"mons"},
        {"mons", "set", unit},
        {"mons", "set", unit, "--set", "health"},
        {"mons", "set", unit, "--set", "bogus=1"},
        {"mons", "set", unit, "--set", "data_length=512"},
        {"mons", "set", unit, "--set", "heals_creature=yes"},
        {"mons", "set", unit, "--set", "primary.recover_time=3"},
        {"mons", "set", unit, "--set", "secondary.ballistics=00"},
        {"mons", "show", unit, words},
        {"stli", "set", words},
        {"mesh", "set", unit},
    };
    const Bytes before = test::readAll(unit);
    for (const auto& arguments : cases) {
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.back();
        EXPECT_EQ(result.out, "") << arguments.back();
    }
    EXPECT_EQ(test::readAll(unit), before);
}

TEST_F(CliEditors, BackupDirKeepsTheFirstOriginalBelowTheTagsDirectoryPath)
{
    fs::create_directories(dir.path() / "game" / "local" / "mons");
    const Bytes original = buildPlugIn({"Archer", "mons", "abcd", 0, sampleMonsBlock(1)});
    const std::string plugIn = dir.write("game/local/mons/abcd", original);
    const std::string backup = dir.file("backups/local/mons/abcd");

    const auto first = cli({"mons", "set", plugIn, "--set", "health=9", "--backup-dir", dir.file("backups")});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.err, plugIn + ": The file as it was before this save is backed up as:\n" + plugIn + ": " + backup + "\n");
    EXPECT_EQ(test::readAll(backup), original);

    const auto second = cli({"mons", "set", plugIn, "--set", "health=10", "--backup-dir", dir.file("backups")});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(test::readAll(backup), original) << "the oldest original is kept";

    // Without --backup-dir nothing is written but the plug-in itself.
    const auto names = [this] {
        std::vector<fs::path> all(fs::recursive_directory_iterator(dir.path()), {});
        std::sort(all.begin(), all.end());
        return all;
    };
    const auto before = names();
    const auto plain = cli({"stli", "set", words, "--from", text});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(names(), before);
}

// Output that cannot be written all (here into /dev/full) fails the command with
// the cause, whatever the command; a save is still made.
TEST_F(CliEditors, OutputThatCannotBeWrittenIsAnErrorNamingTheCause)
{
#ifdef _WIN32
    GTEST_SKIP() << "/dev/full and a POSIX shell to send output there are POSIX's";
#endif
    const std::vector<std::vector<std::string>> commands{
        {"list", archive},        {"dump-map", archive},           {"header", archive, "0"},
        {"mons", "show", unit},   {"stli", "show", words},         {"view", archive, "0"},
        {"mons", "set", unit, "--set", "health=9"},
    };
    for (const auto& arguments : commands) {
        std::vector<std::string> shell{"-c", "exec \"$0\" \"$@\" >/dev/full", TAGWARDEN_CLI};
        shell.insert(shell.end(), arguments.begin(), arguments.end());
        const auto result = test::runCommand("/bin/sh", shell);
        EXPECT_EQ(result.exitCode, 1) << arguments[0] << " " << arguments[1];
        EXPECT_NE(result.err.find("ERROR - The output could not be written: No space left on device"), std::string::npos)
            << arguments[0] << " " << arguments[1] << ": " << result.err;
    }
    EXPECT_NE(cli({"mons", "show", unit}).out.find("\nHealth (hp): 9\n"), std::string::npos) << "the save was made";
}

// Texts on the command line come in the terminal's encoding and are stored as Latin-1.
TEST_F(CliEditors, TextValuesAreDecodedFromTheTerminalsEncoding)
{
#ifdef _WIN32
    GTEST_SKIP() << "locales by LC_ALL are POSIX's; Windows hands the arguments over in UTF-16";
#endif
    const struct {
        const char* locale;
        std::string value;
        int exitCode;
        Bytes stored;         // the name field's first bytes, when saved
        const char* message;  // the start of stderr, when refused
    } cases[] = {
        {"C.UTF-8", "\xC3\x89p\xC3\xA9" "e", 0, {0xC9, 'p', 0xE9, 'e', 0}, ""},
        {"C.UTF-8", "\xCE\xA9mega", 1, {},
         "ERROR - description: the character \"\xCE\xA9\" (U+03A9) cannot be stored; tag texts hold Latin-1"},
        {"C.UTF-8", "\xC9p\xE9" "e", 1, {}, "ERROR - description: \"\\xC9p\\xE9e\" is not UTF-8 text"},
        {"C", "\xC9p\xE9" "e", 0, {0xC9, 'p', 0xE9, 'e', 0}, ""},
    };
    for (const auto& c : cases) {
        const std::string path = dir.write("encoded", buildPlugIn({"Archer", "mons", "abcd", 0, sampleMonsBlock(1)}));
        const Bytes before = test::readAll(path);
        const auto result = test::runCommand("/usr/bin/env", {"LC_ALL=" + std::string(c.locale), TAGWARDEN_CLI, "mons",
                                                              "set", path, "--set", "description=" + c.value});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.locale << " " << c.value << ": " << result.err;
        EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
        const Bytes after = test::readAll(path);
        EXPECT_EQ(c.exitCode != 0 ? after : Bytes(after.begin(), after.begin() + 5), c.exitCode != 0 ? before : c.stored);
    }
}

// A save the program would ask about is refused unless an option says yes.
TEST_F(CliEditors, SavesTheEditorWouldAskAboutAreRefusedUnlessAnOptionAllowsThem)
{
    const struct {
        bool linked;  // else a folder stands where the backup goes
        const char* option;
        int exitCode;
        const char* told;
    } cases[] = {{true, "", 1, "has 2 names (hard links)"}, {true, "--break-links", 0, ""},
                 {false, "", 1, "--no-backup saves it without a backup."}, {false, "--no-backup", 0, ""}};
    for (const auto& c : cases) {
        test::TempDir game;
        const std::string path = game.write("local/mons/abcd", test::readAll(unit));
        fs::create_directories(game.path() / "backup" / "local" / "mons");
        if (c.linked)
            fs::create_hard_link(path, game.file("other-name"));
        else
            fs::create_directories(game.file("backup/local/mons/abcd"));
        std::vector<std::string> arguments{"mons", "set", path, "--set", "health=9", "--backup-dir", game.file("backup")};
        if (*c.option != '\0')
            arguments.emplace_back(c.option);
        const auto result = cli(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.option << ": " << result.err;
        EXPECT_NE(result.err.find(c.told), std::string::npos) << result.err;
        EXPECT_EQ(test::readAll(path) == test::readAll(unit), c.exitCode != 0) << c.option;
    }
}

}  // namespace
}  // namespace tagwarden
