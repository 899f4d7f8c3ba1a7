#include <gtest/gtest.h>

#include "core/sample/archive_builder.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

test::CommandResult cli(const std::vector<std::string>& arguments) { return test::runCommand(TAGWARDEN_CLI, arguments); }

TEST(CliBrowse, ListPrintsEveryEntryInFileOrder)
{
    test::TempDir dir;
    const std::string path = dir.write("tags.gor", buildArchive({{"Archer", "mons", "abcd", 0, Bytes(3, 1)},
                                                                  {"Words", "stli", "wxyz", 0, Bytes(2, 2)}}));
    const auto result = cli({"list", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "0\tmons\tabcd\t00000040\t00000003\tArcher\n"
              "1\tstli\twxyz\t00000043\t00000002\tWords\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliBrowse, FileWithoutDirectoryFailsWithTheMessageAndNoOutput)
{
    test::TempDir dir;
    const std::string path = dir.write("broken.gor", Bytes(100, 0));
    const auto result = cli({"list", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "ERROR - No Directory Found\n");
}

}  // namespace
}  // namespace tagwarden
