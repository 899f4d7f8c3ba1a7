#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/io/byte_source.h"
#include "core/io/file_error.h"
#include "core/io/native_file.h"

namespace tagwarden {

// A binary file with the open and share modes the program relies on. Sharing is
// enforced between File objects of this process exactly, and between processes
// through advisory locks (shared for read-only opens, exclusive for the others).
// Every failure throws FileError; a short read at the end of the file is not one.
class File : public ByteSource {
public:
    using Access = FileAccess;
    using Share = FileShare;
    // Stands between a replacement and its new file: tests fail writes and syncs there.
    using Wrap = std::function<std::unique_ptr<ByteSource>(ByteSource& newFile)>;

    File() = default;
    // Opens and locks the file that has the name `path` once it is locked: when
    // another program put a new file under the name in between, the lock is given
    // up and the new file opened and locked, a few times at most (then a sharing
    // violation).
    File(const std::string& path, Access access, Share share);
    ~File() override;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    [[nodiscard]] bool isOpen() const { return handle_ != native::kNoHandle; }
    [[nodiscard]] const std::string& path() const override { return path_; }

    [[nodiscard]] std::uint64_t length() const override;
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override;
    void writeAt(std::uint64_t position, const void* buffer, std::size_t size) override;
    // Syncs the file's bytes and then its folder, which holds its name.
    void sync() override;
    // Writes the new content beside the file and renames it into its place
    // (SafeWriter); this object then holds the new file with the same share mode.
    // Should only making the rename last fail, the new file is held all the same.
    void replace(const Write& write) override { replace(write, {}); }
    void replace(const Write& write, const Wrap& wrap);
    // Gives the file the name `target` in one step, replacing what had it, or
    // only when nothing has it (AlreadyExists otherwise).
    enum class Place { Replace, OnlyIfFree };
    void moveTo(const std::string& target, Place place = Place::Replace);
    // Gives the file the permissions of the file `model`, when there is one.
    void takePermissionsOf(const std::string& model);

    // The file as a stream: reads and writes at a position of its own.
    [[nodiscard]] std::uint64_t position() const { return position_; }
    void seek(std::uint64_t position) { position_ = position; }
    // Reads up to `size` bytes at the current position and moves past them;
    // answers how many arrived (fewer only at the end of the file).
    [[nodiscard]] std::size_t read(void* buffer, std::size_t size);
    // Writes all `size` bytes at the current position and moves past them.
    void write(const void* buffer, std::size_t size);

    // Closes without asking how it went: for files read, and for cleaning up.
    void close();
    // Closes a file this program wrote; a failed close throws FileError naming it.
    void closeWritten();

private:
    // Opens and admits the file; false (and closed again) when the name no longer leads to it once locked.
    [[nodiscard]] bool openLocked(Access access);

    native::Handle handle_ = native::kNoHandle;
    std::string path_;
    Share share_ = Share::None;
    std::uint64_t position_ = 0;
};

}  // namespace tagwarden
