#pragma once

#include <string>
#include <vector>

#include "core/io/native_file.h"

namespace tagwarden {

// The advisory locks through which other processes see this one's openers. Such
// a lock belongs to the handle it was taken on, so a lock per opener would let
// two openers of one process lock each other out: the process holds one lock per
// file instead, on a handle of its own, raised to exclusive while any of its
// openers may write and lowered again when the last writer closes. The share
// table calls it under its own lock.
class ProcessLocks {
public:
    // Takes the file's lock, or raises it when `exclusive`; false when another
    // process holds a lock in the way. Other failures throw FileError.
    [[nodiscard]] bool acquire(const FileIdentity& file, native::Handle handle, bool exclusive,
                               const std::string& path);
    // After an opener of the file closed: gives the lock up when none is left,
    // lowers it to shared when none of them writes.
    void release(const FileIdentity& file, bool stillOpen, bool stillWriting);

private:
    struct Lock {
        FileIdentity file;
        native::Handle handle;
        bool exclusive;
    };

    std::vector<Lock> locks_;
};

}  // namespace tagwarden
