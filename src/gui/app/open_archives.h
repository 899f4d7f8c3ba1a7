#pragma once

#include <QString>

#include <memory>
#include <string>

class QLockFile;

namespace tagwarden {

// Which files the running Tagwardens have open, so that a window title can tell
// apart two archives of the same name. Each program keeps its open path in a file
// of a shared folder, next to a lock it holds while it runs; the files of a
// program that is gone (its lock is free) are removed when seen.
class OpenArchives {
public:
    explicit OpenArchives(QString folder);
    ~OpenArchives();
    OpenArchives(const OpenArchives&) = delete;
    OpenArchives& operator=(const OpenArchives&) = delete;

    // The path this program has open; "" when none.
    void setOpen(const std::string& path);
    // Whether another running program has a file of the same name, in another folder, open.
    [[nodiscard]] bool nameSharedByAnother(const std::string& path) const;

private:
    QString folder_;
    QString own_;  // the name of this program's files, without their endings
    std::unique_ptr<QLockFile> lock_;
};

// The program's one, in the user's runtime folder.
[[nodiscard]] OpenArchives& openArchives();

}  // namespace tagwarden
