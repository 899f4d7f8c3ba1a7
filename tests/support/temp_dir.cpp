#include "support/temp_dir.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

#include "core/io/file.h"

namespace tagwarden::test {

TempDir::TempDir()
{
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        path_ = base / ("tagwarden-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const
{
    const std::string path = file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeBytes(path, bytes);
    return path;
}

std::string native(const std::string& path)
{
    constexpr char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if constexpr (separator == '/')
        return path;
    std::string text = path.starts_with('/') ? "C:" + path : path;
    std::replace(text.begin(), text.end(), '/', separator);
    return text;
}

std::string missingWords(const std::string& path)
{
    try {
        const File file(path, File::Access::Read, File::Share::All);
    } catch (const FileError& error) {
        return error.detail();
    }
    return "(" + path + " exists)";
}

Bytes readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tagwarden::test
