#include "gui/app/qt_settings_store.h"

#include <QSettings>

namespace tagwarden {

namespace {

QString settingsKey(const std::string& section, const std::string& key)
{
    return QString::fromLatin1(section) + QLatin1Char('/') + QString::fromLatin1(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Bramblewick"), QStringLiteral("Tagwarden")))
{
}

QtSettingsStore::QtSettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

QtSettingsStore::~QtSettingsStore() = default;

// The stored texts are directories: they travel as the platform's 8-bit path encoding.
void QtSettingsStore::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    settings_->setValue(settingsKey(section, key), QString::fromLocal8Bit(value));
    settings_->sync();
}

std::string QtSettingsStore::readString(const std::string& section, const std::string& key) const
{
    return settings_->value(settingsKey(section, key)).toString().toLocal8Bit().toStdString();
}

void QtSettingsStore::writeInt(const std::string& section, const std::string& key, int value)
{
    settings_->setValue(settingsKey(section, key), value);
    settings_->sync();
}

int QtSettingsStore::readInt(const std::string& section, const std::string& key) const
{
    bool ok = false;
    const int value = settings_->value(settingsKey(section, key)).toInt(&ok);
    return ok ? value : 0;
}

}  // namespace tagwarden
