#include "gui/app/screenshot_saver.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLayout>
#include <QPixmap>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>

namespace tagwarden {

namespace {

constexpr const char* kEnvironmentVariable = "TAGWARDEN_SCREENSHOT_DIR";
constexpr const char* kInstalledProperty = "tagwardenScreenshotSaver";

}  // namespace

ScreenshotSaver::ScreenshotSaver(QString folder, QObject* parent) : QObject(parent), folder_(std::move(folder))
{
    QDir().mkpath(folder_);
}

void ScreenshotSaver::installFromEnvironment()
{
    const QString folder = qEnvironmentVariable(kEnvironmentVariable);
    if (folder.isEmpty() || !QCoreApplication::instance() ||
        QCoreApplication::instance()->property(kInstalledProperty).toBool())
        return;
    QCoreApplication* application = QCoreApplication::instance();
    application->setProperty(kInstalledProperty, true);
    application->installEventFilter(new ScreenshotSaver(folder, application));
}

QString ScreenshotSaver::fileNameFor(const QWidget& window)
{
    QString name = window.objectName().isEmpty() ? window.windowTitle() : window.objectName();
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]+")), QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("window");
    return QStringLiteral("%1-%2.png").arg(++shownCount_, 3, 10, QLatin1Char('0')).arg(name);
}

bool ScreenshotSaver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            // Grab once the event loop has run: the window is laid out and painted by then.
            QPointer<QWidget> window(widget);
            QTimer::singleShot(0, this, [this, window] {
                if (window && window->isVisible())
                    save(window);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void ScreenshotSaver::save(QWidget* window)
{
    if (window->layout())
        window->layout()->activate();
    window->grab().save(QDir(folder_).filePath(fileNameFor(*window)));
}

}  // namespace tagwarden
