#pragma once

#include <filesystem>
#include <string>

#include "core/sample/archive_builder.h"

namespace tagwarden::test {

// A fresh folder under the system's temporary directory, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder, as text.
    [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes `bytes` to `name` inside the folder and answers its path.
    std::string write(const std::string& name, const Bytes& bytes) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file.
[[nodiscard]] Bytes readAll(const std::string& path);

}  // namespace tagwarden::test
