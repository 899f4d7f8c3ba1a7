#include "core/io/process_locks.h"

#include <algorithm>

namespace tagwarden {

bool ProcessLocks::acquire(const FileIdentity& file, native::Handle handle, bool exclusive, const std::string& path)
{
    const auto held = std::find_if(locks_.begin(), locks_.end(), [&file](const Lock& l) { return l.file == file; });
    if (held == locks_.end()) {
        const auto lock = native::lock(handle, exclusive, path);
        if (!lock)
            return false;
        locks_.push_back({file, *lock, exclusive});
        return true;
    }
    if (exclusive && !held->exclusive) {
        if (!native::raiseLock(held->handle, path))
            return false;
        held->exclusive = true;
    }
    return true;
}

void ProcessLocks::release(const FileIdentity& file, bool stillOpen, bool stillWriting)
{
    const auto held = std::find_if(locks_.begin(), locks_.end(), [&file](const Lock& l) { return l.file == file; });
    if (held == locks_.end())
        return;
    if (!stillOpen) {
        native::unlock(held->handle);
        locks_.erase(held);
    } else if (held->exclusive && !stillWriting) {
        native::lowerLock(held->handle);
        held->exclusive = false;
    }
}

}  // namespace tagwarden
