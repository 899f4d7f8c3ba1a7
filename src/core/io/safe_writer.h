#pragma once

#include <memory>
#include <string>

#include "core/io/file.h"

namespace tagwarden {

// Gives a file new content so that a failure at any point (an error, a full disk,
// the process killed) leaves it either as it was or with all of the new content:
// the bytes go into a new file beside it, reach the disk, and one rename puts
// that file in its place, after which the folder's new entry reaches the disk
// too. The name is replaced, never written through: a link under it is replaced
// itself, and the new file is created where no name, nor link, was.
class SafeWriter {
public:
    // Creates the new file in the folder of `target` (which need not exist yet),
    // with the target's owner, group and permissions, and open with `share`. `wrap`, when given,
    // stands between the writer and the new file. Throws FileError.
    SafeWriter(std::string target, File::Share share, const File::Wrap& wrap = {});
    // Removes the new file unless it took the target's place.
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    // Where the new content goes.
    [[nodiscard]] ByteSource& bytes() { return wrapped_ ? *wrapped_ : file_; }
    // Syncs the new file, renames it over the target and syncs it again, now under
    // the target's name. Throws FileError: the target is then as it was, unless
    // renamed() says that only the last sync failed. With OnlyIfFree the target
    // must not exist yet (AlreadyExists otherwise): what appeared meanwhile stays.
    // Then closes the new file; a failed close is a FileError too (after the rename).
    void commit(File::Place place = File::Place::Replace);
    // The same, but the new file stays open, to be taken.
    void commitKeepingOpen(File::Place place = File::Place::Replace);
    [[nodiscard]] bool renamed() const { return renamed_; }
    // The new file, open under the target's name once renamed by commitKeepingOpen.
    [[nodiscard]] File take();

private:
    std::string target_;
    File file_;
    std::unique_ptr<ByteSource> wrapped_;
    bool renamed_ = false;
};

}  // namespace tagwarden
