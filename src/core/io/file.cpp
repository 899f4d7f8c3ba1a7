#include "core/io/file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tagwarden {

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
    case EISDIR:
        return FileErrorCause::AccessDenied;
    case EWOULDBLOCK:
        return FileErrorCause::SharingViolation;
    case ENOSPC:
    case EDQUOT:
        return FileErrorCause::DiskFull;
    default:
        return FileErrorCause::Other;
    }
}

bool writes(File::Access access) { return access != File::Access::Read; }

// Whether an opener with `share` lets another opener in with `access`.
bool admits(File::Share share, File::Access access)
{
    return share == File::Share::All || (share == File::Share::DenyWrite && !writes(access));
}

// The openers of this process, so that share modes hold between File objects
// exactly as they would on a platform with mandatory sharing.
struct Opener {
    const File* file;
    std::uint64_t device;
    std::uint64_t inode;
    File::Access access;
    File::Share share;
};

// The advisory lock this process holds on one file for all its openers of it.
// flock() locks belong to an open file description, so a lock per File object
// would let two openers of one process lock each other out; one lock per file,
// on a duplicate descriptor of its own, is raised to exclusive while any opener
// of the process may write and lowered again when the last writer closes.
struct ProcessLock {
    std::uint64_t device;
    std::uint64_t inode;
    int fd;
    bool exclusive;
};

std::mutex openersMutex;
std::vector<Opener>& openers()
{
    static std::vector<Opener> list;
    return list;
}
std::vector<ProcessLock>& processLocks()
{
    static std::vector<ProcessLock> list;
    return list;
}

std::vector<ProcessLock>::iterator findLock(std::uint64_t device, std::uint64_t inode)
{
    auto& locks = processLocks();
    return std::find_if(locks.begin(), locks.end(),
                        [&](const ProcessLock& l) { return l.device == device && l.inode == inode; });
}

bool sameFile(const Opener& o, const ProcessLock& lock) { return o.device == lock.device && o.inode == lock.inode; }

// Takes or raises the process's lock on the file that `fd` refers to; answers 0 or an errno.
int acquireLock(int fd, std::uint64_t device, std::uint64_t inode, bool exclusive)
{
    auto& locks = processLocks();
    const auto held = findLock(device, inode);
    if (held == locks.end()) {
        const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lockFd < 0)
            return errno;
        if (::flock(lockFd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
            const int error = errno;
            ::close(lockFd);
            return error;
        }
        locks.push_back({device, inode, lockFd, exclusive});
        return 0;
    }
    if (exclusive && !held->exclusive) {
        if (::flock(held->fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            // A refused conversion may drop the old lock; take the shared one back.
            (void)::flock(held->fd, LOCK_SH | LOCK_NB);
            return error;
        }
        held->exclusive = true;
    }
    return 0;
}

// After an opener of the file closed: gives up the process's lock when it was the
// last one, lowers it to shared when no remaining opener writes.
void releaseLock(std::uint64_t device, std::uint64_t inode)
{
    auto& locks = processLocks();
    const auto held = findLock(device, inode);
    if (held == locks.end())
        return;
    const auto& list = openers();
    const bool used = std::any_of(list.begin(), list.end(), [&](const Opener& o) { return sameFile(o, *held); });
    if (!used) {
        ::close(held->fd);
        locks.erase(held);
        return;
    }
    const bool writing =
        std::any_of(list.begin(), list.end(), [&](const Opener& o) { return sameFile(o, *held) && writes(o.access); });
    if (held->exclusive && !writing) {
        (void)::flock(held->fd, LOCK_SH | LOCK_NB);
        held->exclusive = false;
    }
}

void forgetOpener(const File* file)
{
    std::lock_guard lock(openersMutex);
    auto& list = openers();
    const auto found = std::find_if(list.begin(), list.end(), [file](const Opener& o) { return o.file == file; });
    if (found == list.end())
        return;
    const Opener gone = *found;
    list.erase(found);
    releaseLock(gone.device, gone.inode);
}

void moveOpener(const File* from, const File* to)
{
    std::lock_guard lock(openersMutex);
    for (Opener& o : openers())
        if (o.file == from)
            o.file = to;
}

}  // namespace

File::File(const std::string& path, Access access, Share share) : path_(path)
{
    // O_NONBLOCK keeps a FIFO from hanging the open; it is refused below anyway.
    int flags = O_CLOEXEC | O_NONBLOCK;
    switch (access) {
    case Access::Read:
        flags |= O_RDONLY;
        break;
    case Access::ReadWrite:
        flags |= O_RDWR;
        break;
    case Access::Write:
        flags |= O_WRONLY | O_CREAT;
        break;
    }
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0)
        failOpen(errno);

    struct stat status {};
    if (::fstat(fd_, &status) != 0)
        failOpen(errno);
    if (!S_ISREG(status.st_mode))
        failOpen(S_ISDIR(status.st_mode) ? EISDIR : EACCES);
    device_ = status.st_dev;
    inode_ = status.st_ino;

    if (const int error = registerOpener(access, share); error != 0)
        failOpen(error);
}

int File::registerOpener(Access access, Share share)
{
    std::lock_guard lock(openersMutex);
    for (const Opener& o : openers()) {
        if (o.device != device_ || o.inode != inode_)
            continue;
        if (!admits(o.share, access) || !admits(share, o.access))
            return EWOULDBLOCK;
    }
    if (const int error = acquireLock(fd_, device_, inode_, writes(access)); error != 0)
        return error;
    openers().push_back({this, device_, inode_, access, share});
    return 0;
}

void File::fail(int error) const
{
    throw FileError(causeOf(error), path_, error == EWOULDBLOCK ? std::string{} : std::strerror(error));
}

void File::failOpen(int error)
{
    close();
    fail(error);
}

File::~File() { close(); }

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      position_(other.position_),
      device_(other.device_),
      inode_(other.inode_)
{
    moveOpener(&other, this);
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        position_ = other.position_;
        device_ = other.device_;
        inode_ = other.inode_;
        moveOpener(&other, this);
    }
    return *this;
}

std::uint64_t File::length() const
{
    struct stat status {};
    if (::fstat(fd_, &status) != 0)
        fail(errno);
    return static_cast<std::uint64_t>(status.st_size);
}

std::size_t File::read(void* buffer, std::size_t size)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::pread(fd_, out + total, size - total, static_cast<off_t>(position_ + total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    position_ += total;
    return total;
}

void File::write(const void* buffer, std::size_t size)
{
    const auto* in = static_cast<const char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t put = ::pwrite(fd_, in + total, size - total, static_cast<off_t>(position_ + total));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        total += static_cast<std::size_t>(put);
    }
    position_ += total;
}

void File::close()
{
    if (fd_ < 0)
        return;
    forgetOpener(this);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace tagwarden
