#include "core/io/share_table.h"

#include <algorithm>

#include "core/io/file_error.h"

namespace tagwarden {

namespace {

bool writes(File::Access access) { return access != File::Access::Read; }

// Whether an opener with `share` lets another opener in with `access`.
bool admits(File::Share share, File::Access access)
{
    return share == File::Share::All || (share == File::Share::DenyWrite && !writes(access));
}

}  // namespace

ShareTable& ShareTable::process()
{
    static ShareTable table;
    return table;
}

void ShareTable::admit(const File* opener, const FileIdentity& file, native::Handle handle, File::Access access,
                       File::Share share, const std::string& path)
{
    std::lock_guard lock(mutex_);
    for (const Opener& o : openers_) {
        if (o.identity == file && (!admits(o.share, access) || !admits(share, o.access)))
            throw FileError(FileErrorCause::SharingViolation, path);
    }
    if (!locks_.acquire(file, handle, writes(access), path))
        throw FileError(FileErrorCause::SharingViolation, path);
    openers_.push_back({opener, file, access, share});
}

void ShareTable::forget(const File* opener)
{
    std::lock_guard lock(mutex_);
    const auto found =
        std::find_if(openers_.begin(), openers_.end(), [opener](const Opener& o) { return o.file == opener; });
    if (found == openers_.end())
        return;
    const FileIdentity file = found->identity;
    openers_.erase(found);
    const auto ofFile = [&file](const Opener& o) { return o.identity == file; };
    const bool stillOpen = std::any_of(openers_.begin(), openers_.end(), ofFile);
    const bool stillWriting = std::any_of(openers_.begin(), openers_.end(),
                                          [&](const Opener& o) { return ofFile(o) && writes(o.access); });
    locks_.release(file, stillOpen, stillWriting);
}

void ShareTable::move(const File* from, const File* to)
{
    std::lock_guard lock(mutex_);
    for (Opener& o : openers_)
        if (o.file == from)
            o.file = to;
}

}  // namespace tagwarden
