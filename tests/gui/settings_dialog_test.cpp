// The settings dialog driven as a user would: first start, OK, Cancel, Browse.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <fstream>

#include "core/prompt/scripted_prompter.h"
#include "core/settings/settings_values.h"
#include "gui/app/qt_settings_store.h"
#include "gui/settings/settings_dialog.h"
#include "gui/support/gui_test_support.h"
#include "support/temp_dir.h"

namespace tagwarden {

using namespace settings;
using test::child;

namespace {

QString text(QWidget& dialog, const char* editName) { return child<QLineEdit>(dialog, editName)->text(); }

void setText(QWidget& dialog, const char* editName, const QString& value)
{
    QLineEdit* edit = child<QLineEdit>(dialog, editName);
    edit->clear();
    QTest::keyClicks(edit, value);
}

void click(QWidget& dialog, const char* buttonName) { QTest::mouseClick(child<QPushButton>(dialog, buttonName), Qt::LeftButton); }

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void qtStoreReadsDefaultsAndKeepsTypesInItsOwnFile();
    void firstStartWritesDefaultsAndShowsTheDialogCancelKeepsThem();
    void firstStartOkStoresWhatWasTyped();
    void oneMissingDirectoryMeansFirstStartAgain();
    void storedSettingsOpenWithoutTheDialog();
    void okStoresTextsAsTypedAndCancelDropsEdits();
    void switchesShowTheirStoredValuesAndOnlyTheEnabledOnesChange();
    void browseToTagsGorFillsBothDirectories();
    void browseStartsInTheTypedFolderWithThePlaceholder();
    void browseToAFolderWithoutTagsGorAsksFirst();
    void browseCancelledChangesNothing();
    void missingTagsDirectoryIsPointedOutAndMayBeKept();
};

void SettingsDialogTest::qtStoreReadsDefaultsAndKeepsTypesInItsOwnFile()
{
    const test::TempDir dir;
    const QString ini = QString::fromStdString(dir.file("settings.ini"));
    {
        QtSettingsStore store(std::make_unique<QSettings>(ini, QSettings::IniFormat));
        QCOMPARE(store.readString(kSection, kTagsDirectory), std::string());
        QCOMPARE(store.readInt(kSection, kAsciiDisplay), 0);
        store.writeString(kSection, kTagsDirectory, "/games/Vörn/");
        store.writeInt(kSection, kAsciiDisplay, 1);
    }
    QtSettingsStore reopened(std::make_unique<QSettings>(ini, QSettings::IniFormat));
    QCOMPARE(reopened.readString(kSection, kTagsDirectory), std::string("/games/Vörn/"));
    QCOMPARE(reopened.readInt(kSection, kAsciiDisplay), 1);
    // The keys sit in the [Settings] group of that file and nowhere else.
    QSettings raw(ini, QSettings::IniFormat);
    QCOMPARE(raw.childGroups(), QStringList{QStringLiteral("Settings")});
    QCOMPARE(raw.value(QStringLiteral("Settings/ASCII")).toInt(), 1);
}

void SettingsDialogTest::firstStartWritesDefaultsAndShowsTheDialogCancelKeepsThem()
{
    MemorySettingsStore store;
    ScriptedPrompter prompter;
    SettingsDialog dialog(store, prompter);
    QString shownTags;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        shownTags = text(shown, "tags_directory_edit");
        setText(shown, "tags_directory_edit", QStringLiteral("/typed/"));
        click(shown, "cancel_button");
    });
    dialog.initialiseSettings();
    QVERIFY(!test::modalTimedOut());

    const SettingsValues defaults = firstStartSettings(homeDirectory());
    QCOMPARE(shownTags, QString::fromStdString(defaults.tagsDirectory));
    QCOMPARE(store.readString(kSection, kTagsDirectory), defaults.tagsDirectory);
    QCOMPARE(store.readString(kSection, kBackupDirectory), defaults.backupDirectory);
    QCOMPARE(store.readInt(kSection, kAsciiDisplay), 1);
    QCOMPARE(store.readInt(kSection, kAllowMods), 1);
    QCOMPARE(store.readInt(kSection, kOverwrite), 0);
    QVERIFY(defaults.tagsDirectory.ends_with("/.wine/drive_c/Program Files/Vorn_Saga/Tags/"));
}

void SettingsDialogTest::firstStartOkStoresWhatWasTyped()
{
    MemorySettingsStore store;
    ScriptedPrompter prompter;
    SettingsDialog dialog(store, prompter);
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        setText(shown, "tags_directory_edit", QStringLiteral("/srv/vorn"));
        QTest::mouseClick(child<QCheckBox>(shown, "ascii_display_check"), Qt::LeftButton);
        click(shown, "ok_button");
    });
    dialog.initialiseSettings();
    QCOMPARE(store.readString(kSection, kTagsDirectory), std::string("/srv/vorn"));
    QCOMPARE(store.readInt(kSection, kAsciiDisplay), 0);
    QCOMPARE(dialog.getTagsDirectory(), std::string("/srv/vorn/"));
}

void SettingsDialogTest::oneMissingDirectoryMeansFirstStartAgain()
{
    MemorySettingsStore store;
    store.writeString(kSection, kTagsDirectory, "/mine/");
    store.writeInt(kSection, kOverwrite, 1);
    store.writeInt(kSection, kAsciiDisplay, 0);
    ScriptedPrompter prompter;
    SettingsDialog dialog(store, prompter);
    bool shown = false;
    test::whenModalShows("settings_dialog", [&](QDialog& d) {
        shown = true;
        d.reject();
    });
    dialog.initialiseSettings();
    QVERIFY(shown);
    const SettingsValues defaults = firstStartSettings(homeDirectory());
    QCOMPARE(store.readString(kSection, kTagsDirectory), defaults.tagsDirectory);
    QCOMPARE(store.readInt(kSection, kOverwrite), 0);
    QCOMPARE(store.readInt(kSection, kAsciiDisplay), 1);
}

void SettingsDialogTest::storedSettingsOpenWithoutTheDialog()
{
    auto store = test::initialisedSettings("/games/vorn");
    store->writeInt(kSection, kAsciiDisplay, 1);
    ScriptedPrompter prompter;
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();  // would block here if the dialog showed
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.values().asciiDisplay, 1);
    QCOMPARE(dialog.getTagsDirectory(), std::string("/games/vorn/"));
    QCOMPARE(dialog.values().tagsDirectory, std::string("/games/vorn/"));
}

void SettingsDialogTest::okStoresTextsAsTypedAndCancelDropsEdits()
{
    auto store = test::initialisedSettings("/games/vorn/");
    ScriptedPrompter prompter;
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();

    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        setText(shown, "tags_directory_edit", QStringLiteral("/else"));
        setText(shown, "backup_directory_edit", QString());
        click(shown, "cancel_button");
    });
    dialog.exec();
    QCOMPARE(store->readString(kSection, kTagsDirectory), std::string("/games/vorn/"));
    QCOMPARE(dialog.values().tagsDirectory, std::string("/games/vorn/"));

    QString reopenedWith;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        reopenedWith = text(shown, "tags_directory_edit");
        setText(shown, "tags_directory_edit", QStringLiteral("/else"));
        setText(shown, "backup_directory_edit", QString());
        click(shown, "ok_button");
    });
    dialog.exec();
    QCOMPARE(reopenedWith, QStringLiteral("/games/vorn/"));  // the cancelled edit is gone
    QCOMPARE(store->readString(kSection, kTagsDirectory), std::string("/else"));
    QCOMPARE(store->readString(kSection, kBackupDirectory), std::string());
    // An empty directory stored by OK makes the next start a first start.
    SettingsValues next;
    QVERIFY(!loadSettings(next, *store));
}

void SettingsDialogTest::switchesShowTheirStoredValuesAndOnlyTheEnabledOnesChange()
{
    auto store = test::initialisedSettings("/games/vorn/");
    store->writeInt(kSection, kAllowMods, 0);
    store->writeInt(kSection, kOverwrite, 1);
    ScriptedPrompter prompter;
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();
    bool modsChecked = true;
    bool overwritesChecked = false;
    QStringList enabled;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        modsChecked = child<QCheckBox>(shown, "allow_mods_check")->isChecked();
        overwritesChecked = child<QCheckBox>(shown, "allow_overwrites_check")->isChecked();
        QTest::mouseClick(child<QCheckBox>(shown, "allow_mods_check"), Qt::LeftButton);  // disabled: no effect
        QTest::mouseClick(child<QCheckBox>(shown, "allow_overwrites_check"), Qt::LeftButton);  // now off
        for (const char* name : {"allow_mods_check", "allow_overwrites_check", "ascii_display_check",
                                 "other_option_check", "restore_button", "uninstall_button", "browse_button"})
            if (child<QWidget>(shown, name)->isEnabled())
                enabled << QLatin1String(name);
        click(shown, "ok_button");
    });
    dialog.exec();
    QVERIFY(!modsChecked);
    QVERIFY(overwritesChecked);
    QCOMPARE(enabled, (QStringList{QStringLiteral("allow_overwrites_check"), QStringLiteral("ascii_display_check"),
                                   QStringLiteral("browse_button")}));
    QCOMPARE(store->readInt(kSection, kAllowMods), 0);
    QCOMPARE(store->readInt(kSection, kOverwrite), 0);
}

void SettingsDialogTest::browseToTagsGorFillsBothDirectories()
{
    const test::TempDir dir;
    std::ofstream(dir.file("tags.gor")) << "x";
    auto store = test::initialisedSettings("/games/vorn/");
    ScriptedPrompter prompter;
    prompter.queueFile(dir.file("tags.gor"));
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();
    const QString folder = QString::fromStdString(dir.path().string());
    QString tags;
    QString backup;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        click(shown, "browse_button");
        tags = text(shown, "tags_directory_edit");
        backup = text(shown, "backup_directory_edit");
        QCOMPARE(store->readString(kSection, kTagsDirectory), std::string("/games/vorn/"));  // not yet stored
        click(shown, "ok_button");
    });
    dialog.exec();
    QCOMPARE(tags, folder);
    QCOMPARE(backup, folder + QStringLiteral("/Backup"));
    QVERIFY(prompter.shown().empty());
    QCOMPARE(store->readString(kSection, kTagsDirectory), dir.path().string());
    QCOMPARE(store->readString(kSection, kBackupDirectory), dir.path().string() + "/Backup");

    const Prompter::FileRequest& request = prompter.fileRequests().at(0);
    QCOMPARE(request.title, std::string("Locate Vorn_Saga Directory Containing 'tags.gor'"));
    QCOMPARE(request.filter, std::string("Vorn Tag Files (*.gor)|*.gor||"));
    QVERIFY(!request.mustExist);
    QVERIFY(request.kind == Prompter::FileRequest::Kind::Open);
}

void SettingsDialogTest::browseStartsInTheTypedFolderWithThePlaceholder()
{
    auto store = test::initialisedSettings("/games/vorn/");
    ScriptedPrompter prompter;
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        setText(shown, "tags_directory_edit", QStringLiteral("/typed/here"));
        click(shown, "browse_button");
        setText(shown, "tags_directory_edit", QString());
        click(shown, "browse_button");
        shown.reject();
    });
    dialog.exec();
    QCOMPARE(prompter.fileRequests().size(), std::size_t{2});
    QCOMPARE(prompter.fileRequests()[0].initialName, std::string("/typed/here/Find the Tags .gor"));
    QCOMPARE(prompter.fileRequests()[1].initialName, std::string("/Find the Tags .gor"));
}

void SettingsDialogTest::browseToAFolderWithoutTagsGorAsksFirst()
{
    const test::TempDir dir;
    const std::string placeholder = dir.file("Find the Tags .gor");
    auto store = test::initialisedSettings("/games/vorn/");
    ScriptedPrompter prompter;
    prompter.queueFile(placeholder);
    prompter.queueAnswer(Prompter::Answer::Cancel);
    prompter.queueFile(placeholder);
    prompter.queueAnswer(Prompter::Answer::Ok);
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();
    QString afterCancel;
    QString afterOk;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        click(shown, "browse_button");
        afterCancel = text(shown, "tags_directory_edit") + QLatin1Char('|') + text(shown, "backup_directory_edit");
        click(shown, "browse_button");
        afterOk = text(shown, "tags_directory_edit");
        shown.reject();
    });
    dialog.exec();
    QCOMPARE(afterCancel, QStringLiteral("/games/vorn/|/games/vorn/Backup/"));
    QCOMPARE(afterOk, QString::fromStdString(dir.path().string()));
    QCOMPARE(prompter.shown().size(), std::size_t{2});
    const ScriptedPrompter::Shown& box = prompter.shown()[0];
    QCOMPARE(box.caption, std::string("ERROR - 'tags.gor' File Not Found"));
    QCOMPARE(box.text, "The Directory:\n    " + dir.path().string() +
                           "       \n\ndoes not contain the file:  tags.gor\n\nPress OK to accept the above directory anyway.");
    QVERIFY(box.buttons == Prompter::Buttons::OkCancel);
    QVERIFY(box.icon == Prompter::Icon::Exclamation);
    // Closed with Cancel: the located folder never reached the store.
    QCOMPARE(store->readString(kSection, kTagsDirectory), std::string("/games/vorn/"));
}

void SettingsDialogTest::browseCancelledChangesNothing()
{
    const test::TempDir dir;  // an existing tags directory: OK has nothing to point out
    const std::string folder = dir.path().string() + "/";
    auto store = test::initialisedSettings(folder);
    ScriptedPrompter prompter;
    prompter.queueFile(std::nullopt);
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();
    QString after;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        click(shown, "browse_button");
        after = text(shown, "tags_directory_edit");
        click(shown, "ok_button");
    });
    dialog.exec();
    QCOMPARE(after, QString::fromStdString(folder));
    QVERIFY(prompter.shown().empty());
    QCOMPARE(store->readString(kSection, kTagsDirectory), folder);
}

// OK on a tags directory that does not exist asks; Cancel goes back to the
// field, OK keeps the directory as typed.
void SettingsDialogTest::missingTagsDirectoryIsPointedOutAndMayBeKept()
{
    auto store = test::initialisedSettings("/games/vorn/");
    ScriptedPrompter prompter;
    prompter.queueAnswer(Prompter::Answer::Cancel);
    prompter.queueAnswer(Prompter::Answer::Ok);
    SettingsDialog dialog(*store, prompter);
    dialog.initialiseSettings();
    bool stayedOpen = false;
    test::whenModalShows("settings_dialog", [&](QDialog& shown) {
        setText(shown, "tags_directory_edit", QStringLiteral("/no/such/folder/"));
        click(shown, "ok_button");
        stayedOpen = shown.isVisible();
        click(shown, "ok_button");
    });
    dialog.exec();
    QVERIFY(stayedOpen);
    QCOMPARE(prompter.shown().size(), std::size_t{2});
    QVERIFY(prompter.shown()[0].text.find("/no/such/folder/") != std::string::npos);
    QCOMPARE(store->readString(kSection, kTagsDirectory), std::string("/no/such/folder/"));
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::SettingsDialogTest)
#include "settings_dialog_test.moc"
