#include "core/settings/recent_files.h"

#include <algorithm>

namespace tagwarden {

namespace {

constexpr const char* kSection = "Recent";

std::string keyOf(std::size_t position) { return "File" + std::to_string(position + 1); }

}  // namespace

std::vector<std::string> RecentFiles::paths() const
{
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kLimit; ++i) {
        std::string path = store_.readString(kSection, keyOf(i));
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    }
    return paths;
}

void RecentFiles::add(const std::string& path)
{
    std::vector<std::string> paths = this->paths();
    std::erase(paths, path);
    paths.insert(paths.begin(), path);
    store(paths);
}

void RecentFiles::remove(const std::string& path)
{
    std::vector<std::string> paths = this->paths();
    std::erase(paths, path);
    store(paths);
}

void RecentFiles::store(const std::vector<std::string>& paths)
{
    // Emptied keys are written too, so that a shorter list leaves no stale tail.
    for (std::size_t i = 0; i < kLimit; ++i)
        store_.writeString(kSection, keyOf(i), i < paths.size() ? paths[i] : std::string{});
}

}  // namespace tagwarden
