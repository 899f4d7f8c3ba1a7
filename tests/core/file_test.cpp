#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "core/io/file.h"
#include "core/io/native_file.h"
#include "fault_injection.h"
#include "support/temp_dir.h"
#ifdef _WIN32
#include "support/holding_program_win32.h"
#endif

// The system's flock() for this test program, with the fault seam's hook in front
// (test::beforeNextLock): every lock File takes goes through here.
#ifndef _WIN32
extern "C" int flock(int descriptor, int operation) noexcept
{
    if (auto hook = std::exchange(tagwarden::test::beforeNextLock, {}))
        hook();
    return static_cast<int>(::syscall(SYS_flock, descriptor, operation));
}
#endif

namespace tagwarden {
namespace {

using Access = File::Access;
using Share = File::Share;

Bytes bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::optional<FileErrorCause> openFails(const std::string& path, Access access, Share share)
{
    try {
        File file(path, access, share);
        return std::nullopt;
    } catch (const FileError& e) {
        return e.cause();
    }
}

// What a name leads to, as the saves compare it with what they read: nothing for
// a missing name; the size, the names, and the last write in nanoseconds since 1970.
TEST(File, StatusOfANameTellsSizeLinksAndTheLastWriteOrNothing)
{
    test::TempDir dir;
    EXPECT_FALSE(native::statusOf(dir.file("missing")));
    const std::string path = dir.write("data", bytesOf("0123456789"));
    const std::optional<FileStatus> status = native::statusOf(path);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->stamp.size, 10u);
    EXPECT_EQ(status->links, 1u);
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    EXPECT_LT(std::llabs(now - status->stamp.modified), std::int64_t{3600} * 1'000'000'000) << "written just now";
    std::filesystem::create_hard_link(path, dir.file("also"));
    const std::optional<FileStatus> linked = native::statusOf(dir.file("also"));
    ASSERT_TRUE(linked);
    EXPECT_EQ(linked->links, 2u);
    EXPECT_EQ(linked->stamp.identity, status->stamp.identity) << "one file under two names";
    EXPECT_NE(native::statusOf(dir.write("other", bytesOf("0123456789")))->stamp.identity, status->stamp.identity);
}

TEST(File, ReadsWithShortReadOnlyAtTheEnd)
{
    test::TempDir dir;
    const std::string path = dir.write("data", bytesOf("0123456789"));
    File file(path, Access::Read, Share::None);
    EXPECT_EQ(file.length(), 10u);
    char buffer[8] = {};
    file.seek(4);
    ASSERT_EQ(file.read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "4567");
    EXPECT_EQ(file.position(), 8u);
    EXPECT_EQ(file.read(buffer, 8), 2u);  // only "89" is left
    EXPECT_EQ(std::string(buffer, 2), "89");
    file.seek(4'000'000'000u);  // far past the end: nothing arrives, nothing fails
    EXPECT_EQ(file.read(buffer, 8), 0u);
}

TEST(File, WriteCreatesMissingFilesAndNeverTruncates)
{
    test::TempDir dir;
    const std::string fresh = dir.file("fresh");
    {
        File file(fresh, Access::Write, Share::None);
        file.write("abc", 3);
    }
    EXPECT_EQ(test::readAll(fresh), bytesOf("abc"));

    const std::string existing = dir.write("existing", bytesOf("hello world"));
    {
        File file(existing, Access::Write, Share::None);
        file.seek(6);
        file.write("W", 1);
    }
    EXPECT_EQ(test::readAll(existing), bytesOf("hello World"));

    {
        File file(existing, Access::ReadWrite, Share::None);
        char first = 0;
        ASSERT_EQ(file.read(&first, 1), 1u);
        file.write("E", 1);  // right after the byte read
    }
    EXPECT_EQ(test::readAll(existing), bytesOf("hEllo World"));
}

TEST(File, OpenFailuresCarryCauseAndPath)
{
    test::TempDir dir;
    const std::string missing = dir.file("missing");
    EXPECT_EQ(openFails(missing, Access::Read, Share::None), FileErrorCause::NotFound);
    EXPECT_EQ(openFails(missing, Access::ReadWrite, Share::None), FileErrorCause::NotFound);
    EXPECT_FALSE(std::filesystem::exists(missing)) << "only Write may create a file";
    EXPECT_EQ(openFails(dir.file("no/such/folder"), Access::Write, Share::None), FileErrorCause::NotFound);
    EXPECT_EQ(openFails(dir.path().string(), Access::Read, Share::None), FileErrorCause::Folder);
#ifdef _WIN32
    const std::string special = "NUL";  // a device
#else
    const std::string special = dir.file("fifo");
    ASSERT_EQ(::mkfifo(special.c_str(), 0600), 0);
#endif
    EXPECT_EQ(openFails(special, Access::Read, Share::None), FileErrorCause::SpecialFile) << "refused, not waited on";

    try {
        File file(missing, Access::Read, Share::None);
        FAIL() << "opened a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), missing);
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
        EXPECT_NE(std::string(e.what()).find(FileError::describe(FileErrorCause::NotFound)), std::string::npos);
    }
}

TEST(File, DescribesEveryCauseDifferently)
{
    const FileErrorCause causes[] = {FileErrorCause::NotFound,  FileErrorCause::AccessDenied,
                                     FileErrorCause::SharingViolation, FileErrorCause::EndOfFile,
                                     FileErrorCause::DiskFull, FileErrorCause::AlreadyExists,
                                     FileErrorCause::Folder,   FileErrorCause::SpecialFile,
                                     FileErrorCause::TooLarge, FileErrorCause::Other};
    for (FileErrorCause a : causes) {
        for (FileErrorCause b : causes) {
            if (a != b) {
                EXPECT_NE(FileError::describe(a), FileError::describe(b));
            }
        }
    }
}

TEST(File, ClosedFileFailsInsteadOfReading)
{
    File file;
    EXPECT_FALSE(file.isOpen());
    char byte = 0;
    EXPECT_THROW((void)file.read(&byte, 1), FileError);
    EXPECT_THROW((void)file.length(), FileError);
}

struct ShareCase {
    Access firstAccess;
    Share firstShare;
    Access secondAccess;
    Share secondShare;
    bool admitted;
};

// Each opener's share mode must admit the other's access, in both directions.
const ShareCase kShareCases[] = {
    {Access::Read, Share::None, Access::Read, Share::All, false},
    {Access::Read, Share::DenyWrite, Access::Read, Share::DenyWrite, true},
    {Access::Read, Share::DenyWrite, Access::ReadWrite, Share::All, false},
    {Access::Read, Share::All, Access::ReadWrite, Share::DenyWrite, true},
    {Access::Read, Share::All, Access::Read, Share::None, false},  // the newcomer shares with nobody
    {Access::Read, Share::All, Access::ReadWrite, Share::All, true},
    {Access::ReadWrite, Share::All, Access::Read, Share::All, true},
    {Access::ReadWrite, Share::All, Access::Write, Share::All, true},
    {Access::ReadWrite, Share::DenyWrite, Access::Read, Share::All, true},
    {Access::ReadWrite, Share::DenyWrite, Access::Read, Share::DenyWrite, false},
    {Access::Write, Share::None, Access::Read, Share::All, false},
};

TEST(FileSharing, SecondOpenerInTheProcessFollowsBothShareModes)
{
    test::TempDir dir;
    const std::string path = dir.write("shared", bytesOf("data"));
    int caseNumber = 0;
    for (const ShareCase& c : kShareCases) {
        SCOPED_TRACE("case " + std::to_string(caseNumber++));
        File first(path, c.firstAccess, c.firstShare);
        const auto failure = openFails(path, c.secondAccess, c.secondShare);
        if (c.admitted)
            EXPECT_EQ(failure, std::nullopt);
        else
            EXPECT_EQ(failure, FileErrorCause::SharingViolation);
    }
}

TEST(FileSharing, HoldsForOtherNamesOfTheFileAndForMovedFiles)
{
    test::TempDir dir;
    const std::string path = dir.write("original", bytesOf("data"));
    const std::string link = dir.file("link");
    std::filesystem::create_hard_link(path, link);

    File held(path, Access::Read, Share::None);
    EXPECT_EQ(openFails(link, Access::Read, Share::All), FileErrorCause::SharingViolation);

    File moved(std::move(held));
    EXPECT_EQ(openFails(path, Access::Read, Share::All), FileErrorCause::SharingViolation);
    moved.close();
    EXPECT_EQ(openFails(path, Access::ReadWrite, Share::None), std::nullopt) << "closing gives the file back";
}

#ifdef _WIN32
const char* howOf(Access access, Share share)
{
    static const char* const names[3][3] = {{"read:none", "read:denywrite", "read:all"},
                                            {"readwrite:none", "readwrite:denywrite", "readwrite:all"},
                                            {"write:none", "write:denywrite", "write:all"}};
    return names[static_cast<int>(access)][static_cast<int>(share)];
}

// The system enforces the share modes themselves, so they hold against another
// program exactly as between two openers of this one.
TEST(FileSharing, ShareModesHoldAgainstAnotherProgram)
{
    test::TempDir dir;
    const std::string path = dir.write("shared", bytesOf("data"));
    int caseNumber = 0;
    for (const ShareCase& c : kShareCases) {
        SCOPED_TRACE("case " + std::to_string(caseNumber++));
        const test::HoldingProgram other(path, howOf(c.firstAccess, c.firstShare));
        ASSERT_TRUE(other.holds());
        const auto failure = openFails(path, c.secondAccess, c.secondShare);
        if (c.admitted)
            EXPECT_EQ(failure, std::nullopt);
        else
            EXPECT_EQ(failure, FileErrorCause::SharingViolation);
    }
    EXPECT_EQ(openFails(path, Access::ReadWrite, Share::None), std::nullopt) << "the other program is gone";
}

TEST(FileSharing, WritersAndReadersOfTwoProcessesExcludeEachOther)
{
    GTEST_SKIP() << "advisory locks between processes are POSIX's; Windows enforces the share modes themselves "
                    "(ShareModesHoldAgainstAnotherProgram)";
}

TEST(FileSharing, ProcessLockFollowsItsOpenersUpAndDown)
{
    GTEST_SKIP() << "advisory locks between processes are POSIX's; Windows enforces the share modes themselves "
                    "(ShareModesHoldAgainstAnotherProgram)";
}
#else
// A second process that opens files on request and reports back, so that the
// advisory locks can be tried between two running copies.
class OtherProcess {
public:
    using Script = std::function<void(OtherProcess&)>;

    explicit OtherProcess(const Script& script)
    {
        if (::pipe(toChild_) != 0 || ::pipe(toParent_) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = ::fork();
        // Each side keeps only its own ends, so that either sees the other go.
        if (pid_ == 0) {
            ::close(toChild_[1]);
            ::close(toParent_[0]);
            runChild(script);
        }
        ::close(toChild_[0]);
        ::close(toParent_[1]);
    }

    ~OtherProcess()
    {
        ::close(toChild_[1]);  // lets a waiting child run to its end
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ::close(toParent_[0]);
    }

    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    // Parent: waits until the child reports; 'R' means it holds what it was told to.
    char report()
    {
        char byte = '?';
        return ::read(toParent_[0], &byte, 1) == 1 ? byte : '?';
    }
    // Parent: lets the child go on to its next step.
    void proceed() { (void)!::write(toChild_[1], "g", 1); }

    // Child: tells the parent and waits for it.
    void holdUntilTold(char what = 'R')
    {
        (void)!::write(toParent_[1], &what, 1);
        char byte = 0;
        (void)!::read(toChild_[0], &byte, 1);
    }

private:
    [[noreturn]] void runChild(const Script& script)
    {
        try {
            script(*this);
            ::_exit(0);
        } catch (...) {
            const char failed = 'F';
            (void)!::write(toParent_[1], &failed, 1);
            ::_exit(1);
        }
    }

    int toChild_[2] = {-1, -1};
    int toParent_[2] = {-1, -1};
    pid_t pid_ = -1;
};

TEST(FileSharing, WritersAndReadersOfTwoProcessesExcludeEachOther)
{
    test::TempDir dir;
    const std::string path = dir.write("shared", bytesOf("data"));
    const auto holding = [&path](Access access) {
        return [&path, access](OtherProcess& self) {
            File file(path, access, Share::All);
            self.holdUntilTold();
        };
    };
    {
        OtherProcess writer(holding(Access::ReadWrite));
        ASSERT_EQ(writer.report(), 'R');
        EXPECT_EQ(openFails(path, Access::Read, Share::All), FileErrorCause::SharingViolation);
        EXPECT_EQ(openFails(path, Access::Write, Share::All), FileErrorCause::SharingViolation);
    }
    {
        OtherProcess reader(holding(Access::Read));
        ASSERT_EQ(reader.report(), 'R');
        EXPECT_EQ(openFails(path, Access::Read, Share::DenyWrite), std::nullopt) << "two readers get along";
        EXPECT_EQ(openFails(path, Access::ReadWrite, Share::All), FileErrorCause::SharingViolation);
    }
    EXPECT_EQ(openFails(path, Access::ReadWrite, Share::None), std::nullopt) << "the other process is gone";
}

TEST(FileSharing, ProcessLockFollowsItsOpenersUpAndDown)
{
    test::TempDir dir;
    const std::string path = dir.write("shared", bytesOf("data"));
    OtherProcess other([&path](OtherProcess& self) {
        File reader(path, Access::Read, Share::All);
        {
            File writer(path, Access::ReadWrite, Share::All);  // same process: admitted, lock raised
            self.holdUntilTold();
        }
        self.holdUntilTold();  // the writer closed, the reader stays
    });
    ASSERT_EQ(other.report(), 'R');
    EXPECT_EQ(openFails(path, Access::Read, Share::All), FileErrorCause::SharingViolation);
    other.proceed();
    ASSERT_EQ(other.report(), 'R');
    EXPECT_EQ(openFails(path, Access::Read, Share::All), std::nullopt) << "lock lowered when the writer left";
    EXPECT_EQ(openFails(path, Access::ReadWrite, Share::All), FileErrorCause::SharingViolation);
}
#endif

// Another program may save (a new file under the name) between this one's open
// and its lock: the lock then goes to the file that is under the name, or, when
// the name never holds still, the open fails as a sharing violation.
TEST(FileSharing, TheLockIsTakenOnTheFileUnderTheNameAfterASaveInBetween)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows takes the share mode with the open, in one step: no lock comes after it";
#endif
    const struct {
        const char* between;
        int saves;  // by the other program, one before each lock
        std::optional<FileErrorCause> failure;
        const char* held;
    } cases[] = {
        {"nothing", 0, std::nullopt, "old"},
        {"one save", 1, std::nullopt, "new 1"},
        {"a save before every lock", 100, FileErrorCause::SharingViolation, ""},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string path = dir.write("plug", bytesOf("old"));
        int saved = 0;
        std::function<void()> otherSave = [&] {
            // As another program saves: a new file renamed over the name. Written
            // without File, whose table is locked while it takes a lock.
            const std::string other = dir.file("other");
            std::ofstream(other, std::ios::binary) << "new " << ++saved;
            std::filesystem::rename(other, path);
            if (saved < c.saves)
                test::beforeNextLock = otherSave;
        };
        test::beforeNextLock = c.saves > 0 ? otherSave : std::function<void()>{};
        try {
            File file(path, Access::ReadWrite, Share::DenyWrite);
            EXPECT_FALSE(c.failure) << c.between;
            std::string held(file.length(), '\0');
            EXPECT_EQ(file.readAt(0, held.data(), held.size()), held.size());
            EXPECT_EQ(held, c.held) << c.between;
        } catch (const FileError& e) {
            EXPECT_EQ(std::optional(e.cause()), c.failure) << c.between << ": " << e.what();
        }
        test::beforeNextLock = {};
    }
}

}  // namespace
}  // namespace tagwarden
