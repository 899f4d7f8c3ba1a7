#include "gui/app/tagwarden_app.h"

#include "gui/app/browser_dialog.h"

namespace tagwarden {

int TagwardenApp::run()
{
    BrowserDialog window(settings_, prompter_);
    cleanUp(window, window.exec());
    return 0;
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
