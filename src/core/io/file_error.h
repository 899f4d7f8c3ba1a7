#pragma once

#include <stdexcept>
#include <string>

namespace tagwarden {

// Why a file operation failed; the GUI and the CLI turn it into a sentence.
enum class FileErrorCause { NotFound, AccessDenied, SharingViolation, EndOfFile, DiskFull, AlreadyExists, Other };

class FileError : public std::runtime_error {
public:
    FileError(FileErrorCause cause, std::string path, std::string detail = {});

    [[nodiscard]] FileErrorCause cause() const { return cause_; }
    [[nodiscard]] const std::string& path() const { return path_; }
    // The system's own words, if any.
    [[nodiscard]] const std::string& detail() const { return detail_; }

    // "could not be found", "is in use by another program", ...
    [[nodiscard]] static std::string describe(FileErrorCause cause);

private:
    FileErrorCause cause_;
    std::string path_;
    std::string detail_;
};

}  // namespace tagwarden
