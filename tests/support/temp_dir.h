#pragma once

#include <filesystem>
#include <string>

#include "core/sample/archive_builder.h"

namespace tagwarden::test {

// A path written the Linux way ("/games/vorn/tags.gor") as this system writes
// it: the same on Linux; on Windows absolute on drive C: with "\\" between names.
[[nodiscard]] std::string native(const std::string& path);

// A fresh folder under the system's temporary directory, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder, as text.
    [[nodiscard]] std::string file(const std::string& name) const { return native((path_ / name).string()); }
    // Writes `bytes` to `name` inside the folder and answers its path.
    std::string write(const std::string& name, const Bytes& bytes) const;

private:
    std::filesystem::path path_;
};

// The system's own words (FileError::detail()) for opening `path`, which is
// missing: its messages differ from system to system.
[[nodiscard]] std::string missingWords(const std::string& path);

// Why a death test that checks the files it leaves is skipped on Windows: there
// the dying statement runs in a new process that repeats the test from its
// start, in a temporary folder of its own.
inline constexpr const char* kDeathTestsRestart = "death tests restart the test in a new process with another folder";

// The whole content of a file.
[[nodiscard]] Bytes readAll(const std::string& path);

}  // namespace tagwarden::test
