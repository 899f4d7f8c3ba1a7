#include "gui/app/tagwarden_app.h"

#include <QApplication>

#include "gui/app/browser_dialog.h"

namespace tagwarden {

int TagwardenApp::run()
{
    // The main window runs modeless in the application's loop, so that the editor
    // forms beside it take input; the run ends when the main window does.
    QApplication::setQuitOnLastWindowClosed(false);
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
