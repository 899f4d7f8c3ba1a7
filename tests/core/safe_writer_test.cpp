#include <gtest/gtest.h>

#include <csignal>
#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "core/io/safe_writer.h"
#include "fault_injection.h"
#include "support/temp_dir.h"
#ifdef _WIN32
#include "support/holding_program_win32.h"
#endif

namespace tagwarden {
namespace {

using test::FaultPlan;
using test::FaultyFile;
using test::readAll;

const Bytes kOld(5000, 'o');
const Bytes kNew = [] {
    Bytes bytes(3000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}();

// The new content in three writes, shorter than the old one.
void writeNew(ByteSource& out)
{
    for (std::size_t at = 0; at < kNew.size(); at += 1000)
        out.writeAt(at, kNew.data() + at, 1000);
}

bool heldAgainstWriters(const std::string& path)
{
    try {
        File other(path, File::Access::ReadWrite, File::Share::All);
        return false;
    } catch (const FileError& error) {
        return error.cause() == FileErrorCause::SharingViolation;
    }
}

Bytes readThrough(const ByteSource& file)
{
    Bytes bytes(file.length());
    EXPECT_EQ(file.readAt(0, bytes.data(), bytes.size()), bytes.size());
    return bytes;
}

// The step of a replacement that fails, and what the file holds afterwards.
struct Step {
    int number;
    const char* what;
    bool leavesNew;
};
constexpr Step kSteps[] = {
    {1, "write", false},  // the new file's first bytes
    {2, "write", false},
    {3, "write", false},
    {4, "sync", false},  // the new file, before the rename
    {5, "sync", true},   // the new name, after the rename
};

TEST(SafeWriter, AFailedWriteOrSyncLeavesTheOldContentOrTheNewAndTheFileHeld)
{
    for (const Step& step : kSteps) {
        test::TempDir dir;
        const std::string path = dir.write("plug", kOld);
        FaultPlan plan(step.number);
        FaultyFile file(path, File::Share::DenyWrite, plan);
        EXPECT_THROW(file.replace(writeNew), FileError) << step.number;
        EXPECT_EQ(plan.steps.back(), step.what) << step.number;
        EXPECT_EQ(readAll(path), step.leavesNew ? kNew : kOld) << step.number;
        EXPECT_EQ(readThrough(file), readAll(path)) << step.number;
        EXPECT_TRUE(heldAgainstWriters(path)) << step.number;
        EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{"plug"}) << step.number;
    }
    test::TempDir dir;
    const std::string path = dir.write("plug", kOld);
    FaultPlan plan;
    FaultyFile file(path, File::Share::DenyWrite, plan);
    file.replace(writeNew);
    EXPECT_EQ(plan.steps, (std::vector<std::string>{"write", "write", "write", "sync", "sync"}));
    EXPECT_EQ(readAll(path), kNew);
}

#ifndef _WIN32
void replaceKilledAt(const std::string& path, int step)
{
    FaultPlan plan(step, FaultPlan::Fault::Kill);
    FaultyFile file(path, File::Share::None, plan);
    file.replace(writeNew);
}
#endif

TEST(SafeWriterDeathTest, AKilledReplacementLeavesTheOldContentOrTheNew)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kDeathTestsRestart;
#else
    for (const Step& step : kSteps) {
        test::TempDir dir;
        const std::string path = dir.write("plug", kOld);
        EXPECT_EXIT(replaceKilledAt(path, step.number), ::testing::ExitedWithCode(FaultPlan::kKilledExitCode), "");
        EXPECT_EQ(readAll(path), step.leavesNew ? kNew : kOld) << step.number;
    }
#endif
}

TEST(SafeWriter, TheNewFileKeepsPermissionsAndShareModeAndIsHeldAgainstOtherProcesses)
{
    test::TempDir dir;
    const std::string path = dir.write("plug", kOld);
#ifndef _WIN32
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
#endif
    File file(path, File::Access::ReadWrite, File::Share::DenyWrite);
    file.replace(writeNew);
#ifndef _WIN32
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(readThrough(file), kNew);
    EXPECT_TRUE(heldAgainstWriters(path));
    EXPECT_NO_THROW(File(path, File::Access::Read, File::Share::All));  // readers stay welcome

#ifdef _WIN32
    EXPECT_FALSE(test::HoldingProgram(path, "readwrite:all").holds()) << "another process may write the new file";
#else
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        std::_Exit(heldAgainstWriters(path) ? 0 : 1);
    int status2 = 0;
    ASSERT_EQ(::waitpid(child, &status2, 0), child);
    EXPECT_TRUE(WIFEXITED(status2) && WEXITSTATUS(status2) == 0) << "another process may write the new file";
#endif
}

#ifdef _WIN32
// Another program holding the old file: one that shares deletion, as this one
// does, keeps reading the old content while the new takes the name; one that
// does not makes the replacement fail, and the old file stays whole.
TEST(SafeWriter, ReplacesAFileAnotherProgramHoldsOpenOrLeavesItWhole)
{
    test::TempDir dir;
    const std::string path = dir.write("plug", kOld);
    {
        const test::HoldingProgram reader(path, "read:all");
        ASSERT_TRUE(reader.holds());
        File file(path, File::Access::ReadWrite, File::Share::DenyWrite);
        file.replace(writeNew);
        EXPECT_EQ(readThrough(file), kNew);
    }
    EXPECT_EQ(readAll(path), kNew);
    EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{"plug"});

    const test::HoldingProgram foreign(path, "foreign");
    ASSERT_TRUE(foreign.holds());
    File file(path, File::Access::ReadWrite, File::Share::DenyWrite);
    try {
        file.replace([](ByteSource& out) { writeNew(out); out.writeAt(kNew.size(), "more", 4); });
        ADD_FAILURE() << "replaced a file held without deletion shared";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
    }
    EXPECT_EQ(readAll(path), kNew);
    EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{"plug"}) << "no new file stays beside";
}
#endif

// A save keeps the file's owner, group and mode; where the process may not give
// the new file to them, the set-user-id and set-group-id bits go, so that a save
// never makes a set-id file of another user's.
TEST(SafeWriter, TheNewFileKeepsOwnerGroupAndModeOrLosesItsSetIdBits)
{
#ifdef _WIN32
    GTEST_SKIP() << "owners, groups and set-id bits are POSIX's";
#else
    const bool root = ::geteuid() == 0;
    const struct {
        const char* who;
        uid_t owner;
        gid_t group;
        mode_t mode;
        uid_t saver;  // the user who saves (0: this process as it is)
        mode_t expected;
        bool needsRoot;
    } cases[] = {
        {"own file", ::geteuid(), ::getegid(), 0640, 0, 0640, false},
        {"another user's set-id file, saved by root", 1234, 2345, 06750, 0, 06750, true},
        {"a set-id file of a group the saver is not in", 1234, 2345, 06770, 1234, 0770, true},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && !root)
            continue;  // only root can make such a file
        test::TempDir dir;
        ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
        const std::string path = dir.write("plug", kOld);
        ASSERT_EQ(::chown(path.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (c.saver != 0 && (::setgroups(0, nullptr) != 0 || ::setgid(c.saver) != 0 || ::setuid(c.saver) != 0))
                std::_Exit(2);
            File file(path, File::Access::ReadWrite, File::Share::DenyWrite);
            file.replace(writeNew);
            std::_Exit(0);
        }
        int saved = 0;
        ASSERT_EQ(::waitpid(child, &saved, 0), child);
        ASSERT_TRUE(WIFEXITED(saved) && WEXITSTATUS(saved) == 0) << c.who;
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(readAll(path), kNew) << c.who;
        EXPECT_EQ(status.st_uid, c.owner) << c.who;
        EXPECT_EQ(status.st_mode & 07777, c.expected) << c.who;
        if (c.expected & S_ISGID) {
            EXPECT_EQ(status.st_gid, c.group) << c.who;
        }
    }
#endif
}

TEST(SafeWriter, ALinkIsReplacedNeverWrittenThroughAndAnUncommittedFileIsRemoved)
{
    test::TempDir dir;
    const std::string real = dir.write("real", kOld);
#ifndef _WIN32  // MinGW's library cannot make links, and Windows asks a privilege for them
    const std::string link = dir.file("link");
    std::filesystem::create_symlink(real, link);
    File file(link, File::Access::ReadWrite, File::Share::None);
    file.replace(writeNew);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readAll(link), kNew);
    EXPECT_EQ(readAll(real), kOld);
#endif

    const std::vector<std::string> before = test::namesIn(dir.path());
    {
        SafeWriter writer(dir.file("fresh"), File::Share::All);
        writeNew(writer.bytes());
    }
    EXPECT_EQ(test::namesIn(dir.path()), before);
    SafeWriter writer(dir.file("fresh"), File::Share::All);
    writeNew(writer.bytes());
    writer.commit();
    writer.take().close();
    EXPECT_EQ(readAll(dir.file("fresh")), kNew);
}

TEST(SafeWriter, InterruptedReplacementLeavesNothingBeside)
{
#ifdef _WIN32
    GTEST_SKIP() << "signals are POSIX's; Windows's Ctrl+C handler is the system's to call";
#else
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const bool rightAfterCreation : {false, true}) {
            test::TempDir dir;
            const std::string target = dir.file("plug-in");
            EXPECT_EXIT(
                {
                    native::removeUnfinishedOnInterrupt();
                    // The new file exists, but its creation is not over: it is not locked yet.
                    if (rightAfterCreation)
                        test::beforeNextLock = [signal] { std::raise(signal); };
                    SafeWriter writer(target, File::Share::DenyWrite);
                    writer.bytes().writeAt(0, "half", 4);
                    std::raise(signal);
                },
                testing::KilledBySignal(signal), "");
            EXPECT_TRUE(test::namesIn(dir.path()).empty()) << signal << (rightAfterCreation ? " at creation" : "");
        }
    }
#endif
}

// A commit lets go of the new file, checking the close: the system may report a
// lost write only there.
TEST(SafeWriter, ACommitClosesTheNewFileAndAFailedCloseIsAnErrorNamingIt)
{
    test::TempDir dir;
    const std::string path = dir.write("plug", kOld);
    SafeWriter writer(path, File::Share::None);
    writeNew(writer.bytes());
    writer.commit();
    EXPECT_NO_THROW(File(path, File::Access::ReadWrite, File::Share::None));
    EXPECT_EQ(readAll(path), kNew);

    const native::OpenedFile opened = native::open(path, FileAccess::ReadWrite, FileShare::All);
    native::close(opened.handle);
    try {
        native::closeWritten(opened.handle, path);
        ADD_FAILURE() << "closing a closed descriptor succeeded";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        EXPECT_FALSE(error.detail().empty());
    }
}

}  // namespace
}  // namespace tagwarden
