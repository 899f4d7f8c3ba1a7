#include "gui/app/open_archives.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#include <atomic>
#include <filesystem>

namespace tagwarden {

namespace {

constexpr const char* kPathEnding = ".open";
constexpr const char* kLockEnding = ".lock";

QString fileNameOf(const std::string& path)
{
    return QString::fromStdString(std::filesystem::path(path).filename().string());
}

// Whether the program that wrote `name` still runs: its lock is held.
bool stillRunning(const QDir& folder, const QString& name)
{
    QLockFile lock(folder.filePath(name + QLatin1String(kLockEnding)));
    if (!lock.tryLock(0))
        return true;
    lock.unlock();
    QFile::remove(folder.filePath(name + QLatin1String(kPathEnding)));
    return false;
}

}  // namespace

OpenArchives::OpenArchives(QString folder) : folder_(std::move(folder))
{
    static std::atomic<int> made{0};
    own_ = QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') + QString::number(made++);
    if (!QDir().mkpath(folder_))
        return;  // titles then name the file alone
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(own_ + QLatin1String(kLockEnding)));
    if (!lock_->tryLock(0))
        lock_.reset();
}

OpenArchives::~OpenArchives()
{
    if (lock_)
        QFile::remove(QDir(folder_).filePath(own_ + QLatin1String(kPathEnding)));
}

void OpenArchives::setOpen(const std::string& path)
{
    if (!lock_)
        return;
    QFile file(QDir(folder_).filePath(own_ + QLatin1String(kPathEnding)));
    if (path.empty()) {
        file.remove();
        return;
    }
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::fromStdString(path));
}

bool OpenArchives::nameSharedByAnother(const std::string& path) const
{
    if (!lock_ || path.empty())
        return false;
    const QDir folder(folder_);
    const QString name = fileNameOf(path);
    for (const QString& entry : folder.entryList({QStringLiteral("*") + QLatin1String(kPathEnding)}, QDir::Files)) {
        const QString other = entry.chopped(static_cast<qsizetype>(std::char_traits<char>::length(kPathEnding)));
        if (other == own_)
            continue;
        QFile file(folder.filePath(entry));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::string otherPath = file.readAll().toStdString();
        if (otherPath != path && fileNameOf(otherPath) == name && stillRunning(folder, other))
            return true;
    }
    return false;
}

OpenArchives& openArchives()
{
    static OpenArchives archives(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                                 QStringLiteral("/tagwarden-open"));
    return archives;
}

}  // namespace tagwarden
