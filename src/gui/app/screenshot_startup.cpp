// Compiled into the program and every GUI test (not only the library), so that
// TAGWARDEN_SCREENSHOT_DIR works without any code in main() or in the tests.
#include <QCoreApplication>

#include "gui/app/screenshot_saver.h"

namespace {

void installScreenshotMode() { tagwarden::ScreenshotSaver::installFromEnvironment(); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installScreenshotMode)
