// The Windows side of files: handles opened with the system's own share modes,
// positioned reads and writes, the replace-by-rename, and Ctrl+C clean-up.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/io/file_error.h"
#include "core/io/native_file.h"
#include "core/io/text_win32.h"

namespace tagwarden::native {

namespace {

FileErrorCause causeOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileErrorCause::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileErrorCause::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileErrorCause::SharingViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileErrorCause::DiskFull;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FileErrorCause::AlreadyExists;
    default:
        return FileErrorCause::Other;
    }
}

// The system's own words for `error`, without the closing full stop and line end.
std::string wordsFor(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = length == 0 ? std::wstring{} : std::wstring(text, length);
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' ' ||
                              words.back() == L'.'))
        words.pop_back();
    return words.empty() ? "error " + std::to_string(error) : utf8From(words);
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

[[noreturn]] void fail(DWORD error, const std::string& path)
{
    // A folder opened as a file is only "access denied" here; say what it is, as elsewhere.
    if (error == ERROR_ACCESS_DENIED && isFolder(systemPath(path)))
        throw FileError(FileErrorCause::Folder, path);
    // A sharing clash says all in its cause; the system's words would repeat it.
    const FileErrorCause cause = causeOf(error);
    throw FileError(cause, path, cause == FileErrorCause::SharingViolation ? std::string{} : wordsFor(error));
}

[[noreturn]] void failLast(const std::string& path) { fail(GetLastError(), path); }

HANDLE handleOf(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD accessFor(FileAccess access)
{
    switch (access) {
    case FileAccess::Read:
        return GENERIC_READ;
    case FileAccess::Write:
        return GENERIC_WRITE;
    case FileAccess::ReadWrite:
    case FileAccess::CreateNew:
        break;
    }
    return GENERIC_READ | GENERIC_WRITE;
}

DWORD dispositionFor(FileAccess access)
{
    switch (access) {
    case FileAccess::Read:
    case FileAccess::ReadWrite:
        return OPEN_EXISTING;
    case FileAccess::Write:
        return OPEN_ALWAYS;  // created when missing, never truncated
    case FileAccess::CreateNew:
        break;
    }
    return CREATE_NEW;  // refuses a taken name, a link's too
}

// Deleting and renaming stay open to everyone: a file held here must still be
// replaced by its new content, which is renamed over it.
DWORD shareFor(FileShare share)
{
    switch (share) {
    case FileShare::None:
        return FILE_SHARE_DELETE;
    case FileShare::DenyWrite:
        return FILE_SHARE_READ | FILE_SHARE_DELETE;
    case FileShare::All:
        break;
    }
    return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}

// What a handle that is not a file on a disk names, in the user's words.
const char* kindOf(DWORD type)
{
    switch (type) {
    case FILE_TYPE_PIPE:
        return "a pipe";
    case FILE_TYPE_CHAR:
        return "a character device";
    default:
        return "not a regular file";
    }
}

FileIdentity identityFrom(const BY_HANDLE_FILE_INFORMATION& information)
{
    return {information.dwVolumeSerialNumber,
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

FileIdentity identityOf(HANDLE handle, const std::string& path)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information))
        failLast(path);
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw FileError(FileErrorCause::Folder, path);
    return identityFrom(information);
}

OVERLAPPED at(std::uint64_t position)
{
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(position);
    overlapped.OffsetHigh = static_cast<DWORD>(position >> 32);
    return overlapped;
}

// One ReadFile or WriteFile moves at most this much.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

DWORD chunk(std::size_t left) { return static_cast<DWORD>(left < kLargestTransfer ? left : kLargestTransfer); }

}  // namespace

OpenedFile open(const std::string& path, FileAccess access, FileShare share)
{
    const HANDLE handle = CreateFileW(systemPath(path).c_str(), accessFor(access), shareFor(share), nullptr,
                                      dispositionFor(access), FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        failLast(path);
    try {
        const DWORD type = GetFileType(handle);
        if (type != FILE_TYPE_DISK)
            throw FileError(FileErrorCause::SpecialFile, path, kindOf(type));
        return {reinterpret_cast<Handle>(handle), identityOf(handle, path)};
    } catch (const FileError&) {
        CloseHandle(handle);
        throw;
    }
}

void close(Handle handle) noexcept { CloseHandle(handleOf(handle)); }

void closeWritten(Handle handle, const std::string& path)
{
    // The handle is gone whatever CloseHandle answers, so it is never retried.
    if (!CloseHandle(handleOf(handle)))
        failLast(path);
}

std::uint64_t length(Handle handle, const std::string& path)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle), &size))
        failLast(path);
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t readAt(Handle handle, std::uint64_t position, void* buffer, std::size_t size, const std::string& path)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        OVERLAPPED where = at(position + total);
        DWORD got = 0;
        if (!ReadFile(handleOf(handle), out + total, chunk(size - total), &got, &where)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            fail(error, path);
        }
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

void writeAt(Handle handle, std::uint64_t position, const void* buffer, std::size_t size, const std::string& path)
{
    const auto* in = static_cast<const char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        OVERLAPPED where = at(position + total);
        DWORD put = 0;
        if (!WriteFile(handleOf(handle), in + total, chunk(size - total), &put, &where))
            failLast(path);
        total += put;
    }
}

void sync(Handle handle, const std::string& path)
{
    if (!FlushFileBuffers(handleOf(handle)))
        failLast(path);
}

// A folder's names cannot be flushed here; the renames below write through instead.
void syncFolder(const std::string& /*folder*/) {}

namespace {

// FileRenameInfoEx, which MinGW's headers name only for NTDDI-style versions.
constexpr auto kRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

// The rename that also replaces a file others hold open (with delete shared):
// asked of the handle, with POSIX semantics, on systems that have them.
bool renamedByHandle(const std::wstring& from, const std::wstring& to, const std::string& path)
{
    const HANDLE source = CreateFileW(from.c_str(), DELETE | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        failLast(path);
    const std::size_t nameBytes = to.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, to.c_str(), nameBytes);
    const bool renamed =
        SetFileInformationByHandle(source, kRenameInfoEx, info, static_cast<DWORD>(buffer.size())) != 0;
    const DWORD error = GetLastError();
    CloseHandle(source);
    if (renamed)
        return true;
    if (error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
        error == ERROR_CALL_NOT_IMPLEMENTED)
        return false;  // an older system or file system: the plain rename below
    fail(error, path);
}

}  // namespace

namespace {

bool moved(const std::wstring& from, const std::wstring& to, DWORD flags)
{
    return MoveFileExW(from.c_str(), to.c_str(), flags | MOVEFILE_WRITE_THROUGH) != 0;
}

// Without POSIX semantics (Windows before 10, Wine) no file that is open can be
// replaced, not even one opened with deletion shared, as this program's are:
// the old file steps aside to a name of its own first, the new one takes its
// name, and the old one goes once the last program holding it lets go. Never a
// mix of the two; only a crash between the two renames leaves the name free,
// with both files beside it.
void replaceStepping(const std::wstring& from, const std::wstring& to, const std::string& path)
{
    static std::atomic<unsigned> asides{0};
    const std::wstring aside =
        to + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(asides++) + L".old";
    if (!moved(to, aside, MOVEFILE_REPLACE_EXISTING))
        failLast(path);
    if (!moved(from, to, 0)) {
        const DWORD error = GetLastError();
        (void)moved(aside, to, 0);
        fail(error, path);
    }
    (void)DeleteFileW(aside.c_str());
}

}  // namespace

void rename(const std::string& from, const std::string& to)
{
    const std::wstring source = systemPath(from);
    const std::wstring target = systemPath(to);
    if (renamedByHandle(source, target, to) || moved(source, target, MOVEFILE_REPLACE_EXISTING))
        return;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        fail(error, to);
    replaceStepping(source, target, to);
}

void renameNoReplace(const std::string& from, const std::string& to)
{
    if (!moved(systemPath(from), systemPath(to), 0))
        failLast(to);
}

void remove(const std::string& path) noexcept
{
    try {
        (void)DeleteFileW(systemPath(path).c_str());
    } catch (...) {
        // no memory for the name: nothing more can be done here
    }
}

namespace {

// The unfinished file's name, kept ready for the console handler, which runs on
// a thread of its own and must not allocate.
wchar_t unfinished[32768];
std::atomic<bool> unfinishedKept{false};

BOOL WINAPI removeUnfinishedAndStop(DWORD /*event*/)
{
    // Our own handle shares deletion: the name goes now, the file when the process ends.
    if (unfinishedKept.load())
        (void)DeleteFileW(unfinished);
    return FALSE;  // the system's handler ends the process as before
}

}  // namespace

void rememberUnfinished(const std::string& path) noexcept
{
    unfinishedKept = false;
    try {
        const std::wstring name = systemPath(path);
        if (name.size() >= std::size(unfinished))
            return;  // too long to keep: at worst a new file stays after an interrupt
        std::wmemcpy(unfinished, name.c_str(), name.size() + 1);
        unfinishedKept = true;
    } catch (...) {
        // no memory for the name: as above
    }
}

void forgetUnfinished() noexcept { unfinishedKept = false; }

void removeUnfinishedOnInterrupt()
{
    if (!SetConsoleCtrlHandler(removeUnfinishedAndStop, TRUE))
        throw FileError(FileErrorCause::Other, "", wordsFor(GetLastError()));
}

// Windows files have no permission bits: the new file takes its folder's access
// rules, as the old one did.
void copyPermissions(const std::string& /*model*/, Handle /*handle*/, const std::string& /*path*/) {}

namespace {

// 100-nanosecond steps from 1601-01-01, where the system counts from, to 1970-01-01.
constexpr std::int64_t kTicksBeforeUnixEpoch = 116'444'736'000'000'000;

std::int64_t nanosecondsSinceUnixEpoch(FILETIME time)
{
    const auto ticks = static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
    return (ticks - kTicksBeforeUnixEpoch) * 100;
}

}  // namespace

std::optional<FileStatus> statusOf(const std::string& path)
{
    // Opened for no access at all: asks nothing of the share modes others hold,
    // and a link is followed to its target.
    const HANDLE handle = CreateFileW(systemPath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(handle, &information) != 0;
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return FileStatus{{identityFrom(information),
                       (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow,
                       nanosecondsSinceUnixEpoch(information.ftLastWriteTime)},
                      information.nNumberOfLinks};
}

// The system's share modes already hold against every process, so no lock of
// our own is needed: every lock is granted at once and holds nothing.
std::optional<Handle> lock(Handle /*handle*/, bool /*exclusive*/, const std::string& /*path*/) { return kNoHandle; }

bool raiseLock(Handle /*lock*/, const std::string& /*path*/) { return true; }

void lowerLock(Handle /*lock*/) noexcept {}

void unlock(Handle /*lock*/) noexcept {}

void* allocateBlock(std::size_t bytes)
{
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void releaseBlock(void* block) noexcept { std::free(block); }

}  // namespace tagwarden::native
