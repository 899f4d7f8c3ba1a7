#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tagwarden {

// Which file an open handle refers to, whatever name it was opened by.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    bool operator==(const FileIdentity&) const = default;
};

// A file as it stood when last looked at: which file, how long, when last written.
// Another program that replaces or rewrites it changes at least one of them.
struct FileStamp {
    FileIdentity identity;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the epoch

    bool operator==(const FileStamp&) const = default;
};

struct FileStatus {
    FileStamp stamp;
    std::uint64_t links = 1;  // how many names (hard links) the file has
};

enum class FileAccess {
    Read,       // existing file, read only
    ReadWrite,  // existing file, read and write, never truncated
    Write,      // created when missing, never truncated
    CreateNew,  // a new file, read and write; fails when the name is taken, by a link too
};

// What an opener lets others do with the file while it holds it.
enum class FileShare {
    None,       // nobody else may open the file
    DenyWrite,  // others may read, not write
    All,        // others may read and write
};

// The operating system's side of files, and of the large blocks read from them:
// the one place that calls it. Everything else about files (share modes, locks
// between processes) is built on these. Failures throw FileError with the cause
// and the system's own words.
namespace native {

// A descriptor here; a pointer-sized handle elsewhere.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

struct OpenedFile {
    Handle handle;
    FileIdentity identity;
};

// Opens a regular file; anything else (a folder, a pipe, a device) is refused.
// Where the system enforces share modes itself (Windows), `share` is handed to
// it and holds against every program; elsewhere the share table and the locks
// below carry it.
[[nodiscard]] OpenedFile open(const std::string& path, FileAccess access, FileShare share);
void close(Handle handle) noexcept;
// Closes a file this program wrote: the system may say only here that written
// bytes were lost, so a failed close throws FileError.
void closeWritten(Handle handle, const std::string& path);
[[nodiscard]] std::uint64_t length(Handle handle, const std::string& path);
[[nodiscard]] std::size_t readAt(Handle handle, std::uint64_t position, void* buffer, std::size_t size,
                                 const std::string& path);
void writeAt(Handle handle, std::uint64_t position, const void* buffer, std::size_t size, const std::string& path);
// Waits until what was written to the file is on the disk.
void sync(Handle handle, const std::string& path);
// The same for the names in `folder`: a file created or renamed there keeps its name.
void syncFolder(const std::string& folder);
// Gives the file `from` the name `to` in one step, in place of whatever had it (a
// link is replaced itself, its target is never touched).
void rename(const std::string& from, const std::string& to);
// The same, but only where no name (nor link) is yet: AlreadyExists otherwise.
void renameNoReplace(const std::string& from, const std::string& to);
// Takes the name away; for cleaning up after a failure, so it reports nothing.
void remove(const std::string& path) noexcept;
// The half-written new file of a replacement under way, removed should the process
// be interrupted (Ctrl+C, SIGTERM, SIGHUP) once removeUnfinishedOnInterrupt() was
// called; one at a time, as the command-line tool writes.
void rememberUnfinished(const std::string& path) noexcept;
void forgetUnfinished() noexcept;
void removeUnfinishedOnInterrupt();
// Gives the file behind `handle` the owner, group and permissions of the file
// `model`, if there is one. When the owner or group cannot be kept (the process
// may not give files away), the set-user-id and set-group-id bits are dropped.
void copyPermissions(const std::string& model, Handle handle, const std::string& path);
// What the name `path` leads to now (a link followed), or nothing when it leads nowhere.
[[nodiscard]] std::optional<FileStatus> statusOf(const std::string& path);

// Advisory locks that other processes see. lock() takes a new lock of its own on
// the file behind `handle` and answers its handle, or nothing when another
// process holds a lock in the way. raiseLock() makes a shared lock exclusive,
// false (still shared) when another process is in the way; lowerLock() makes it
// shared again; unlock() gives it up.
[[nodiscard]] std::optional<Handle> lock(Handle handle, bool exclusive, const std::string& path);
[[nodiscard]] bool raiseLock(Handle lock, const std::string& path);
void lowerLock(Handle lock) noexcept;
void unlock(Handle lock) noexcept;

// Memory for a large block that a read fills whole (an archive's directory). The
// system may back it with large pages, which it hands out many times faster.
// Throws std::bad_alloc; give it back with releaseBlock.
[[nodiscard]] void* allocateBlock(std::size_t bytes);
void releaseBlock(void* block) noexcept;

}  // namespace native

}  // namespace tagwarden
