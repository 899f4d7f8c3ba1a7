#include <gtest/gtest.h>

#include <cstdio>

#include "core/io/byte_order.h"
#include "core/sample/archive_builder.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

test::CommandResult cli(const std::vector<std::string>& arguments) { return test::runCommand(TAGWARDEN_CLI, arguments); }

std::string hex8(std::uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

// Two units with the same id, a string list, another unit: data back to back from 64.
const std::vector<SampleTag> kTags{{"Archer", "mons", "abcd", 1, Bytes(3, 1)},
                                 {"Words", "stli", "wxyz", 2, Bytes(2, 2)},
                                 {"Archer (copy)", "mons", "abcd", 3, Bytes(5, 3)},
                                 {"Scout", "mons", "ef", 4, {}}};

// The list line of kTags[index], its data starting where the builder puts it.
std::string listLineOf(std::size_t index)
{
    std::uint32_t start = 64;
    for (std::size_t i = 0; i < index; ++i)
        start += static_cast<std::uint32_t>(kTags[i].data.size());
    const SampleTag& tag = kTags[index];
    return std::to_string(index) + "\t" + tag.type + "\t" + tag.id + "\t" + hex8(start) + "\t" +
           hex8(static_cast<std::uint32_t>(tag.data.size())) + "\t" + tag.name + "\n";
}

class CliBrowse : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string archive = dir.write("tags.gor", buildArchive(kTags));
};

TEST_F(CliBrowse, ListPrintsEveryEntryInFileOrder)
{
    const auto result = cli({"list", archive});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, listLineOf(0) + listLineOf(1) + listLineOf(2) + listLineOf(3));
    EXPECT_EQ(result.err, "");
}

TEST_F(CliBrowse, ListOfATypePrintsItsGroupMembersOnly)
{
    const auto result = cli({"list", archive, "--type", "mons"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, listLineOf(0) + listLineOf(3)) << "the duplicate abcd is no member";

    for (const char* unknown : {"mesh", "monsters", "mon"}) {
        const auto none = cli({"list", archive, "--type", unknown});
        EXPECT_EQ(none.exitCode, 0) << unknown;
        EXPECT_EQ(none.out, "") << unknown;
        EXPECT_EQ(none.err, std::string("No objects of type ") + unknown + "\n") << "said, not only silent";
    }
}

TEST_F(CliBrowse, DumpMapIsTheIndexTextAndOneNewline)
{
    const std::string mons = "\nKey: mons pointer = 1 Entries = 2\n\tObjects: abcd-0; ef-3; ";
    const std::string stli = "\nKey: stli pointer = 2 Entries = 1\n\tObjects: wxyz-1; ";
    EXPECT_EQ(cli({"dump-map", archive}).out, mons + stli + "\n");
    EXPECT_EQ(cli({"dump-map", archive, "--type", "stli"}).out, stli + "\n") << "pointer keeps the group's place";
    const auto unknown = cli({"dump-map", archive, "--type", "mesh"});
    EXPECT_EQ(unknown.exitCode, 0);
    EXPECT_EQ(unknown.out, "\n");
}

TEST_F(CliBrowse, HeaderPrintsTheDialogFieldsAndTheDump)
{
    const auto result = cli({"header", archive, "1"});
    EXPECT_EQ(result.exitCode, 0);
    const TagHeaderBytes header = makeHeader(kTags[1], 64 + 3);
    std::string dump;
    for (std::uint8_t byte : header) {
        dump += hex8(byte).substr(6);
        dump += ' ';
    }
    EXPECT_EQ(result.out, "Description: Words\n"
                          "Obj type: stli\n"
                          "Obj Name: wxyz\n"
                          "Reserved1: 00000000000000\n"
                          "Obj Number: 2\n"
                          "Start Address: 00000043\n"
                          "Length of Data: 00000002\n"
                          "Reserved2: 00000000\n"
                          "Vorn Tag: vorn\n"
                          "Dump: " + dump + "\n");
}

TEST_F(CliBrowse, HeaderKeepsTheBlankAfterEmptyValues)
{
    Bytes bytes = buildArchive({{"", "core", "", 0, {}}});
    std::fill_n(bytes.end() - 4, 4, 0);  // no signature either
    const auto result = cli({"header", dir.write("blank.gor", bytes), "0"});
    EXPECT_NE(result.out.find("Description: \n"), std::string::npos);
    EXPECT_NE(result.out.find("Obj Name: \n"), std::string::npos);
    EXPECT_NE(result.out.find("Vorn Tag: \n"), std::string::npos);
}

TEST_F(CliBrowse, SelectorsNameAnIndexOrTheFirstEntryOfATypeAndId)
{
    const auto nameOf = [this](const std::string& selector) {
        const std::string out = cli({"header", archive, selector}).out;
        return out.substr(0, out.find('\n'));
    };
    EXPECT_EQ(nameOf("2"), "Description: Archer (copy)");
    EXPECT_EQ(nameOf("mons:abcd"), "Description: Archer");
    EXPECT_EQ(nameOf("mons:ef"), "Description: Scout");

    for (const char* bad : {"4", "-1", "x", "", "1x", "mons:zzzz", "mons:abcdef", "monster:abcd", "stli:abcd"}) {
        const auto result = cli({"header", archive, bad});
        EXPECT_EQ(result.exitCode, 1) << bad;
        EXPECT_EQ(result.out, "") << bad;
        EXPECT_NE(result.err, "") << bad;
    }
}

TEST_F(CliBrowse, TextFieldsEscapeOtherBytesAndStopAtNul)
{
    const std::string name = std::string("a\\b~ \x7F\x0A\xE9", 9) + std::string("\0hidden", 7);
    const std::string path = dir.write("odd.gor", buildArchive({{name, std::string("t\x01", 2), "i\\d", 0, {}}}));
    EXPECT_EQ(cli({"list", path}).out, "0\tt\\x01\ti\\\\d\t00000040\t00000000\ta\\\\b~ \\x7F\\x0A\\xE9\n");
}

TEST_F(CliBrowse, BrokenOrMissingFilesFailWithExitOne)
{
    const std::string noDirectory = dir.write("broken.gor", Bytes(100, 0));
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {"list", noDirectory}, {"dump-map", noDirectory}, {"header", noDirectory, "0"}}) {
        const auto result = cli(command);
        EXPECT_EQ(result.exitCode, 1) << command[0];
        EXPECT_EQ(result.out, "") << command[0];
        EXPECT_EQ(result.err, "ERROR - No Directory Found\n") << command[0];
    }
    const std::string missing = dir.file("missing.gor");
    const auto result = cli({"list", missing});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(missing), std::string::npos) << "the message names the file";
}

TEST(CliVersion, NamesTheProgramAndItsVersion)
{
    const auto result = cli({"--version"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, std::string("tagwarden-cli ") + TAGWARDEN_VERSION + "\n");
}

TEST_F(CliBrowse, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"list"}, {"header", archive}, {"list", archive, "extra"}, {"list", archive, "--type"}}) {
        const auto result = cli(command);
        EXPECT_EQ(result.exitCode, 2) << (command.empty() ? "(nothing)" : command[0]);
        EXPECT_EQ(result.out, "");
    }
}

TEST(CliSample, MakeSampleWritesAReadableDirectoryOnce)
{
    test::TempDir dir;
    const std::string root = dir.file("fresh");
    const auto made = cli({"make-sample", root});
    ASSERT_EQ(made.exitCode, 0) << made.err;

    const auto list = cli({"list", root + "/tags.gor"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_GE(std::count(list.out.begin(), list.out.end(), '\n'), 200);
    const auto unit = cli({"header", root + "/local/mons/msaa", "0"});
    EXPECT_NE(unit.out.find("Obj type: mons\n"), std::string::npos);
    EXPECT_NE(unit.out.find("Start Address: 00000040\n"), std::string::npos);

    const Bytes before = test::readAll(root + "/tags.gor");
    const auto again = cli({"make-sample", root});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find(root + "\" already exists"), std::string::npos) << again.err;
    EXPECT_EQ(test::readAll(root + "/tags.gor"), before) << "the archive is left as it was";
}

}  // namespace
}  // namespace tagwarden
