#include <QApplication>
#include <QCommandLineParser>

#include <cstring>

#include "gui/app/about_dialog.h"
#include "gui/app/qt_prompter.h"
#include "gui/app/qt_settings_store.h"
#include "gui/app/tagwarden_app.h"

namespace {

void nameTheApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Bramblewick"));
    QCoreApplication::setApplicationName(QStringLiteral("Tagwarden"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(tagwarden::AboutDialog::kVersion));
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Browses Vorn tag archives and plug-ins, and edits unit, string-list and map plug-ins."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("An archive (tags.gor) or plug-in to open."),
                                 QStringLiteral("[FILE]"));
}

// --help and --version are answered without a display.
bool asksForTextOnly(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCommandLineParser parser;
    describe(parser);
    if (asksForTextOnly(argc, argv)) {
        const QCoreApplication console(argc, argv);
        nameTheApplication();
        parser.process(console);  // prints and ends the process
        return 0;
    }
    // Qt's own options (-style, -platform ...) are taken out of the arguments here.
    QApplication application(argc, argv);
    nameTheApplication();
    QApplication::setWindowIcon(tagwarden::programIcon());
    // Lets the desktop tie the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.bramblewick.Tagwarden"));
    parser.process(application);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        parser.showHelp(2);

    tagwarden::QtSettingsStore settings;
    tagwarden::QtPrompter prompter;
    tagwarden::TagwardenApp app(settings, prompter);
    if (!files.isEmpty())
        app.openAtStart(files.constFirst().toLocal8Bit().toStdString());
    return app.run();
}
