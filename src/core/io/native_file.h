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
// Gives the file behind `handle` the permissions of the file `model`, if there is one.
void copyPermissions(const std::string& model, Handle handle, const std::string& path);

// Advisory locks that other processes see. lock() takes a new lock of its own on
// the file behind `handle` and answers its handle, or nothing when another
// process holds a lock in the way. raiseLock() makes a shared lock exclusive,
// false (still shared) when another process is in the way; lowerLock() makes it
// shared again; unlock() gives it up.
[[nodiscard]] std::optional<Handle> lock(Handle handle, bool exclusive, const std::string& path);
[[nodiscard]] bool raiseLock(Handle lock, const std::string& path);
void lowerLock(Handle lock) noexcept;
void unlock(Handle lock) noexcept;

// Part of a file mapped read-only. One handler of bus errors, for the whole
// process, guards every mapping made here: when another program shortens the
// file, a page past its new end reads zeros instead of ending the process, and
// the mapping remembers the first byte cut. Bus errors anywhere else end the
// process as before.
struct Mapping {
    const std::uint8_t* data = nullptr;  // the byte at the position asked for
    std::size_t size = 0;
    void* base = nullptr;  // the whole pages mapped
    std::size_t length = 0;
    std::size_t slot = 0;  // its place among the guarded mappings
};
// Maps `size` bytes at `position`; nothing when the system cannot, or when too
// many mappings are guarded already.
[[nodiscard]] std::optional<Mapping> map(Handle handle, std::uint64_t position, std::size_t size) noexcept;
void unmap(const Mapping& mapping) noexcept;
// How many bytes from `data` on never read zeros for a cut: `size` unless the file was shortened.
[[nodiscard]] std::size_t intactBytes(const Mapping& mapping) noexcept;

// Memory for a large block that a read fills whole (an archive's directory). The
// system may back it with large pages, which it hands out many times faster.
// Throws std::bad_alloc; give it back with releaseBlock.
[[nodiscard]] void* allocateBlock(std::size_t bytes);
void releaseBlock(void* block) noexcept;

}  // namespace native

}  // namespace tagwarden
