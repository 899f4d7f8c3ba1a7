#pragma once

#include <memory>

#include "core/settings/settings_store.h"

class QSettings;

namespace tagwarden {

// The settings in QSettings: the registry on Windows
// (HKCU\Software\Bramblewick\Tagwarden), an INI file elsewhere; one group per section.
class QtSettingsStore : public SettingsStore {
public:
    // The user's own settings of organisation "Bramblewick", application "Tagwarden".
    QtSettingsStore();
    // Any other QSettings, e.g. a temporary INI file in tests.
    explicit QtSettingsStore(std::unique_ptr<QSettings> settings);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    void writeString(const std::string& section, const std::string& key, const std::string& value) override;
    [[nodiscard]] std::string readString(const std::string& section, const std::string& key) const override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    [[nodiscard]] int readInt(const std::string& section, const std::string& key) const override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tagwarden
