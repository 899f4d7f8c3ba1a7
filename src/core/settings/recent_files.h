#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/settings/settings_store.h"

namespace tagwarden {

// The files opened last, newest first, kept in the settings store (section
// "Recent", keys "File1" .. "File8") so that they outlive the run.
class RecentFiles {
public:
    static constexpr std::size_t kLimit = 8;

    explicit RecentFiles(SettingsStore& store) : store_(store) {}

    [[nodiscard]] std::vector<std::string> paths() const;
    // Puts `path` first; an earlier mention of it moves up, the oldest drops off.
    void add(const std::string& path);
    // Forgets `path`, e.g. after it could not be opened.
    void remove(const std::string& path);

private:
    void store(const std::vector<std::string>& paths);

    SettingsStore& store_;
};

}  // namespace tagwarden
