#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "core/io/file.h"
#include "core/io/process_locks.h"

namespace tagwarden {

// The open File objects of this process with their access and share modes, so
// that share modes hold between them exactly as on a system that enforces them,
// and towards other processes through the process's advisory locks.
class ShareTable {
public:
    // The one table of the process.
    [[nodiscard]] static ShareTable& process();

    // Admits `opener` of `file` or throws FileError: a sharing violation when an
    // opener of this process or another process forbids it.
    void admit(const File* opener, const FileIdentity& file, native::Handle handle, File::Access access,
               File::Share share, const std::string& path);
    void forget(const File* opener);
    // The opener moved to another File object.
    void move(const File* from, const File* to);

private:
    struct Opener {
        const File* file;
        FileIdentity identity;
        File::Access access;
        File::Share share;
    };

    std::mutex mutex_;
    std::vector<Opener> openers_;
    ProcessLocks locks_;
};

}  // namespace tagwarden
