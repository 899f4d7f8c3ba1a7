#include <QApplication>

#include "gui/app/about_dialog.h"
#include "gui/app/qt_prompter.h"
#include "gui/app/qt_settings_store.h"
#include "gui/app/tagwarden_app.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Bramblewick"));
    QApplication::setApplicationName(QStringLiteral("Tagwarden"));
    QApplication::setWindowIcon(tagwarden::programIcon());

    tagwarden::QtSettingsStore settings;
    tagwarden::QtPrompter prompter;
    return tagwarden::TagwardenApp(settings, prompter).run();
}
