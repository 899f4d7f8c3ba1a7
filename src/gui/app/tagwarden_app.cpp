#include "gui/app/tagwarden_app.h"

#include <QApplication>
#include <QTimer>

#include "gui/app/browser_dialog.h"

namespace tagwarden {

namespace {

// A window of the program that is newly shown takes the keyboard focus, whatever
// the window manager makes of it; menus, tips and the like are left alone.
class FocusOnShow : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() &&
            (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog))
            QTimer::singleShot(0, widget, [widget] {
                widget->raise();
                widget->activateWindow();
            });
        return false;
    }
};

}  // namespace

int TagwardenApp::run()
{
    // The main window runs modeless in the application's loop, so that the editor
    // forms beside it take input; the run ends when the main window does.
    QApplication::setQuitOnLastWindowClosed(false);
    FocusOnShow focus;
    qApp->installEventFilter(&focus);
    BrowserDialog window(settings_, prompter_);
    QObject::connect(&window, &QDialog::finished, &window, [&window](int result) {
        cleanUp(window, result);
        QApplication::quit();
    });
    window.show();
    if (fileAtStart_)
        (void)window.openPath(*fileAtStart_);
    return QApplication::exec();
}

void TagwardenApp::cleanUp(BrowserDialog& window, int result)
{
    if (result != QDialog::Accepted && result != QDialog::Rejected)
        return;
    window.closeFile();
    window.clearDirectory();
    window.releaseEditors();
}

}  // namespace tagwarden
