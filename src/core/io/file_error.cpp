#include "core/io/file_error.h"

namespace tagwarden {

namespace {

std::string sentence(FileErrorCause cause, const std::string& path, const std::string& detail)
{
    std::string text = "The file \"" + path + "\" " + FileError::describe(cause) + ".";
    if (!detail.empty())
        text += " (" + detail + ")";
    return text;
}

}  // namespace

FileError::FileError(FileErrorCause cause, std::string path, std::string detail)
    : std::runtime_error(sentence(cause, path, detail)),
      cause_(cause),
      path_(std::move(path)),
      detail_(std::move(detail))
{
}

std::string FileError::describe(FileErrorCause cause)
{
    switch (cause) {
    case FileErrorCause::NotFound:
        return "could not be found";
    case FileErrorCause::AccessDenied:
        return "could not be accessed: permission denied";
    case FileErrorCause::SharingViolation:
        return "is in use and cannot be shared";
    case FileErrorCause::EndOfFile:
        return "ended before all expected bytes were read";
    case FileErrorCause::DiskFull:
        return "could not be written: the disk is full";
    case FileErrorCause::AlreadyExists:
        return "already exists";
    case FileErrorCause::Other:
        break;
    }
    return "could not be read or written";
}

}  // namespace tagwarden
