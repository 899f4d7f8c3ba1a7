#include "gui/support/gui_test_support.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace tagwarden::test {

namespace {

bool timedOut = false;
constexpr int kPollMilliseconds = 5;
constexpr int kGiveUpMilliseconds = 5000;

// The modal dialog, else the modeless top-level dialog, shown with this name.
QDialog* shownDialog(const QLatin1String& name)
{
    const auto named = [&name](QWidget* widget) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        return dialog && dialog->isVisible() && dialog->objectName() == name ? dialog : nullptr;
    };
    if (QDialog* modal = named(QApplication::activeModalWidget()))
        return modal;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (QDialog* dialog = named(window))
            return dialog;
    return nullptr;
}

}  // namespace

void whenModalShows(const char* objectName, std::function<void(QDialog&)> action)
{
    auto* poll = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, clock, name = QLatin1String(objectName), action = std::move(action)] {
        QDialog* dialog = shownDialog(name);
        const bool giveUp = clock->elapsed() > kGiveUpMilliseconds;
        if (!dialog && !giveUp)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!dialog) {
            timedOut = true;
            if (auto* blocking = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                blocking->reject();
            return;
        }
        action(*dialog);
    });
    poll->start(kPollMilliseconds);
}

bool modalTimedOut() { return timedOut; }

QStringList unnamedControls(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QPlainTextEdit*>(widget);
        // A combo box's or spin box's own line edit is named through its owner.
        const bool inner = qobject_cast<QComboBox*>(widget->parentWidget()) ||
                           qobject_cast<QAbstractSpinBox*>(widget->parentWidget());
        if (!control || inner || !widget->isVisibleTo(&window))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << widget->objectName();
    }
    return unnamed;
}

std::unique_ptr<MemorySettingsStore> initialisedSettings(const std::string& tagsDirectory)
{
    auto store = std::make_unique<MemorySettingsStore>();
    store->writeString(settings::kSection, settings::kTagsDirectory, tagsDirectory);
    store->writeString(settings::kSection, settings::kBackupDirectory, tagsDirectory + "Backup/");
    return store;
}

}  // namespace tagwarden::test
