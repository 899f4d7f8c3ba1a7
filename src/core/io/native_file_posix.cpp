// The POSIX side of files: descriptors, positioned reads and writes, flock(),
// owners and stamps.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "core/io/file_error.h"
#include "core/io/native_file.h"

namespace tagwarden::native {

namespace {

FileErrorCause causeOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileErrorCause::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileErrorCause::AccessDenied;
    case EISDIR:
        return FileErrorCause::Folder;
    case EWOULDBLOCK:
        return FileErrorCause::SharingViolation;
    case ENOSPC:
    case EDQUOT:
        return FileErrorCause::DiskFull;
    case EEXIST:
        return FileErrorCause::AlreadyExists;
    default:
        return FileErrorCause::Other;
    }
}

// What a name that is not a regular file names, in the user's words.
const char* kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a pipe (FIFO)";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

[[noreturn]] void fail(int error, const std::string& path)
{
    // A sharing clash and a folder say all in their cause; the system's words would repeat it.
    const bool plain = error == EWOULDBLOCK || error == EISDIR;
    throw FileError(causeOf(error), path, plain ? std::string{} : std::strerror(error));
}

int descriptor(Handle handle) { return static_cast<int>(handle); }

int openFlags(FileAccess access)
{
    // O_NONBLOCK keeps a FIFO from hanging the open; it is refused below anyway.
    const int flags = O_CLOEXEC | O_NONBLOCK;
    switch (access) {
    case FileAccess::Read:
        return flags | O_RDONLY;
    case FileAccess::ReadWrite:
        return flags | O_RDWR;
    case FileAccess::Write:
        return flags | O_WRONLY | O_CREAT;
    case FileAccess::CreateNew:
        break;
    }
    // O_EXCL also refuses a link under the name, so nothing is written through one.
    return flags | O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
}

}  // namespace

OpenedFile open(const std::string& path, FileAccess access, FileShare /*share*/)
{
    const int fd = ::open(path.c_str(), openFlags(access), 0644);
    if (fd < 0)
        fail(errno, path);
    struct stat status {};
    const int error = ::fstat(fd, &status) != 0 ? errno : 0;
    if (error != 0 || !S_ISREG(status.st_mode))
        ::close(fd);
    if (error != 0)
        fail(error, path);
    if (S_ISDIR(status.st_mode))
        fail(EISDIR, path);
    if (!S_ISREG(status.st_mode))
        throw FileError(FileErrorCause::SpecialFile, path, kindOf(status.st_mode));
    return {fd, {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)}};
}

void close(Handle handle) noexcept { ::close(descriptor(handle)); }

void closeWritten(Handle handle, const std::string& path)
{
    // The descriptor is gone whatever close() answers, so it is never retried.
    if (::close(descriptor(handle)) != 0)
        fail(errno, path);
}

std::uint64_t length(Handle handle, const std::string& path)
{
    struct stat status {};
    if (::fstat(descriptor(handle), &status) != 0)
        fail(errno, path);
    return static_cast<std::uint64_t>(status.st_size);
}

std::size_t readAt(Handle handle, std::uint64_t position, void* buffer, std::size_t size, const std::string& path)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        const auto at = static_cast<off_t>(position + total);
        const ssize_t got = ::pread(descriptor(handle), out + total, size - total, at);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

void writeAt(Handle handle, std::uint64_t position, const void* buffer, std::size_t size, const std::string& path)
{
    const auto* in = static_cast<const char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        const auto at = static_cast<off_t>(position + total);
        const ssize_t put = ::pwrite(descriptor(handle), in + total, size - total, at);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        total += static_cast<std::size_t>(put);
    }
}

void sync(Handle handle, const std::string& path)
{
    if (::fsync(descriptor(handle)) != 0)
        fail(errno, path);
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail(errno, folder);
    const int error = ::fsync(fd) != 0 ? errno : 0;
    if (::close(fd) != 0 && error == 0)
        fail(errno, folder);
    if (error != 0)
        fail(error, folder);
}

void rename(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        fail(errno, to);
}

void renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        fail(errno, to);
    // A file system without the flag: a hard link is refused on a taken name too.
    if (::link(from.c_str(), to.c_str()) != 0)
        fail(errno, to);
    (void)::unlink(from.c_str());
}

void remove(const std::string& path) noexcept { (void)::unlink(path.c_str()); }

namespace {

char unfinished[4096];
std::atomic<bool> unfinishedKept{false};

extern "C" void removeUnfinishedAndDie(int signal)
{
    if (unfinishedKept.load())
        (void)::unlink(unfinished);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void rememberUnfinished(const std::string& path) noexcept
{
    unfinishedKept = false;
    if (path.size() >= sizeof unfinished)
        return;  // too long to keep: at worst a hidden file stays after an interrupt
    std::memcpy(unfinished, path.c_str(), path.size() + 1);
    unfinishedKept = true;
}

void forgetUnfinished() noexcept { unfinishedKept = false; }

void removeUnfinishedOnInterrupt()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, removeUnfinishedAndDie);
}

void copyPermissions(const std::string& model, Handle handle, const std::string& path)
{
    struct stat status {};
    if (::stat(model.c_str(), &status) != 0)
        return;  // nothing to copy from: the file keeps the permissions it was created with
    mode_t mode = status.st_mode & 07777;
    // Set-id bits are only kept with the owner and group they were given for.
    if (::fchown(descriptor(handle), status.st_uid, status.st_gid) != 0)
        mode &= ~mode_t{S_ISUID | S_ISGID};
    if (::fchmod(descriptor(handle), mode) != 0)
        fail(errno, path);
}

std::optional<FileStatus> statusOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    const std::int64_t modified = std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
    return FileStatus{{{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)},
                       static_cast<std::uint64_t>(status.st_size),
                       modified},
                      static_cast<std::uint64_t>(status.st_nlink)};
}

// flock() locks belong to an open file description, so every lock gets a
// duplicate descriptor of its own.
std::optional<Handle> lock(Handle handle, bool exclusive, const std::string& path)
{
    const int lockFd = ::fcntl(descriptor(handle), F_DUPFD_CLOEXEC, 0);
    if (lockFd < 0)
        fail(errno, path);
    if (::flock(lockFd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
        return lockFd;
    const int error = errno;
    ::close(lockFd);
    if (error == EWOULDBLOCK)
        return std::nullopt;
    fail(error, path);
}

bool raiseLock(Handle lock, const std::string& path)
{
    if (::flock(descriptor(lock), LOCK_EX | LOCK_NB) == 0)
        return true;
    const int error = errno;
    // A refused conversion may drop the old lock; take the shared one back.
    (void)::flock(descriptor(lock), LOCK_SH | LOCK_NB);
    if (error == EWOULDBLOCK)
        return false;
    fail(error, path);
}

void lowerLock(Handle lock) noexcept { (void)::flock(descriptor(lock), LOCK_SH | LOCK_NB); }

void unlock(Handle lock) noexcept { ::close(descriptor(lock)); }

void* allocateBlock(std::size_t bytes)
{
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    const bool large = bytes >= kLargePage;
    const std::size_t alignment = large ? kLargePage : alignof(std::max_align_t);
    const std::size_t size = (std::max<std::size_t>(bytes, 1) + alignment - 1) / alignment * alignment;
    void* block = std::aligned_alloc(alignment, size);
    if (block == nullptr)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    if (large)
        (void)::madvise(block, size, MADV_HUGEPAGE);  // a hint; small pages serve as well
#endif
    return block;
}

void releaseBlock(void* block) noexcept { std::free(block); }

}  // namespace tagwarden::native
