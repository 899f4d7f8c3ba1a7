#include "core/io/file.h"

#include <filesystem>
#include <utility>

#include "core/io/safe_writer.h"
#include "core/io/share_table.h"
#include "core/io/utf8_path.h"

namespace tagwarden {

File::File(const std::string& path, Access access, Share share) : path_(path), share_(share)
{
    constexpr int kAttempts = 8;
    for (int attempt = 1; !openLocked(access); ++attempt)
        if (attempt == kAttempts)
            throw FileError(FileErrorCause::SharingViolation, path_);
}

bool File::openLocked(Access access)
{
    const native::OpenedFile opened = native::open(path_, access, share_);
    handle_ = opened.handle;
    try {
        ShareTable::process().admit(this, opened.identity, handle_, access, share_, path_);
    } catch (const FileError&) {
        native::close(std::exchange(handle_, native::kNoHandle));
        throw;
    }
    // Another program may have saved between the open and the lock: the lock then
    // holds a file that is no longer under the name.
    const std::optional<FileStatus> now = native::statusOf(path_);
    if (now && now->stamp.identity == opened.identity)
        return true;
    close();
    return false;
}

File::~File() { close(); }

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, native::kNoHandle)),
      path_(std::move(other.path_)),
      share_(other.share_),
      position_(other.position_)
{
    ShareTable::process().move(&other, this);
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, native::kNoHandle);
        path_ = std::move(other.path_);
        share_ = other.share_;
        position_ = other.position_;
        ShareTable::process().move(&other, this);
    }
    return *this;
}

std::uint64_t File::length() const { return native::length(handle_, path_); }

std::size_t File::readAt(std::uint64_t position, void* buffer, std::size_t size) const
{
    return native::readAt(handle_, position, buffer, size, path_);
}

void File::writeAt(std::uint64_t position, const void* buffer, std::size_t size)
{
    native::writeAt(handle_, position, buffer, size, path_);
}

void File::sync()
{
    native::sync(handle_, path_);
    const std::filesystem::path folder = pathFromUtf8(path_).parent_path();
    native::syncFolder(folder.empty() ? "." : utf8Of(folder));
}

void File::replace(const Write& write, const Wrap& wrap)
{
    try {
        SafeWriter writer(path_, share_, wrap);
        write(writer.bytes());
        try {
            writer.commitKeepingOpen();
        } catch (const FileError&) {
            if (writer.renamed())
                *this = writer.take();
            throw;
        }
        *this = writer.take();
    } catch (const FileError& error) {
        // Named after the file being saved: the new file beside it is ours alone.
        throw FileError(error.cause(), path_, error.detail());
    }
}

void File::moveTo(const std::string& target, Place place)
{
    if (place == Place::Replace)
        native::rename(path_, target);
    else
        native::renameNoReplace(path_, target);
    path_ = target;
}

void File::takePermissionsOf(const std::string& model) { native::copyPermissions(model, handle_, path_); }

std::size_t File::read(void* buffer, std::size_t size)
{
    const std::size_t got = readAt(position_, buffer, size);
    position_ += got;
    return got;
}

void File::write(const void* buffer, std::size_t size)
{
    writeAt(position_, buffer, size);
    position_ += size;
}

void File::close()
{
    if (!isOpen())
        return;
    ShareTable::process().forget(this);
    native::close(std::exchange(handle_, native::kNoHandle));
}

void File::closeWritten()
{
    if (!isOpen())
        return;
    ShareTable::process().forget(this);
    native::closeWritten(std::exchange(handle_, native::kNoHandle), path_);
}

}  // namespace tagwarden
