#include "gui/support/gui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace tagwarden::test {

namespace {

bool timedOut = false;
constexpr int kPollMilliseconds = 5;
constexpr int kGiveUpMilliseconds = 5000;

}  // namespace

void whenModalShows(const char* objectName, std::function<void(QDialog&)> action)
{
    auto* poll = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, clock, name = QLatin1String(objectName), action = std::move(action)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool shown = dialog && dialog->isVisible() && dialog->objectName() == name;
        const bool giveUp = clock->elapsed() > kGiveUpMilliseconds;
        if (!shown && !giveUp)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!shown) {
            timedOut = true;
            if (dialog)
                dialog->reject();
            return;
        }
        action(*dialog);
    });
    poll->start(kPollMilliseconds);
}

bool modalTimedOut() { return timedOut; }

std::unique_ptr<MemorySettingsStore> initialisedSettings(const std::string& tagsDirectory)
{
    auto store = std::make_unique<MemorySettingsStore>();
    store->writeString(settings::kSection, settings::kTagsDirectory, tagsDirectory);
    store->writeString(settings::kSection, settings::kBackupDirectory, tagsDirectory + "Backup/");
    return store;
}

}  // namespace tagwarden::test
