#pragma once

#include <map>
#include <string>
#include <utility>

namespace tagwarden {

// The per-user settings: section "Settings" with "VornPath", "Backup", "ASCII",
// "AllowMods" and "Overwrite". Missing values read as "" and 0.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual void writeString(const std::string& section, const std::string& key, const std::string& value) = 0;
    [[nodiscard]] virtual std::string readString(const std::string& section, const std::string& key) const = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
    [[nodiscard]] virtual int readInt(const std::string& section, const std::string& key) const = 0;
};

namespace settings {
inline constexpr const char* kSection = "Settings";
inline constexpr const char* kTagsDirectory = "VornPath";
inline constexpr const char* kBackupDirectory = "Backup";
inline constexpr const char* kAsciiDisplay = "ASCII";
inline constexpr const char* kAllowMods = "AllowMods";
inline constexpr const char* kOverwrite = "Overwrite";
}  // namespace settings

// A store in memory, for tests and the command-line tool.
class MemorySettingsStore : public SettingsStore {
public:
    void writeString(const std::string& section, const std::string& key, const std::string& value) override
    {
        strings_[{section, key}] = value;
    }
    [[nodiscard]] std::string readString(const std::string& section, const std::string& key) const override
    {
        const auto it = strings_.find({section, key});
        return it == strings_.end() ? std::string{} : it->second;
    }
    void writeInt(const std::string& section, const std::string& key, int value) override { ints_[{section, key}] = value; }
    [[nodiscard]] int readInt(const std::string& section, const std::string& key) const override
    {
        const auto it = ints_.find({section, key});
        return it == ints_.end() ? 0 : it->second;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> strings_;
    std::map<std::pair<std::string, std::string>, int> ints_;
};

}  // namespace tagwarden
