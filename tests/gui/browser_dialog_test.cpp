// The main window driven as a user would, with scripted answers to every box.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QTableView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include "core/io/file_error.h"
#include "core/prompt/scripted_prompter.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "gui/app/browser_dialog.h"
#include "gui/app/object_list_model.h"
#include "gui/app/open_archives.h"
#include "gui/app/tagwarden_app.h"
#include "gui/editors/mons_editor.h"
#include "gui/editors/mons_editor_dialog.h"
#include "form_checks.h"
#include "gui/support/gui_test_support.h"
#include "support/temp_dir.h"

namespace tagwarden {

using test::child;

namespace {

constexpr const char* kClearNotice =
    "You are about to clear all \ndirectory entries from memory. \nClick on OK to continue or Cancel to abort";

SampleTag tag(std::string name, std::string type, std::string id)
{
    return {std::move(name), std::move(type), std::move(id), 0, Bytes(8, 0x11)};
}

// Lines that only sort right when case is ignored, a duplicate id, two types.
std::vector<SampleTag> mixedTags()
{
    return {tag("Knight", "mons", "beta"), tag("Greeting", "stli", "ALFA"), tag("Archer", "mons", "alfb"),
            tag("Knight again", "mons", "beta"), tag("Farewell", "stli", "Caps")};
}

// `count` tags of type mons, ids m000, m001, ...
std::vector<SampleTag> monsTags(int count)
{
    std::vector<SampleTag> tags;
    for (int i = 0; i < count; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "m%03d", i);
        tags.push_back(tag("Unit " + std::to_string(i), "mons", id));
    }
    return tags;
}

// Counts how often a window with this object name is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(const char* objectName) : name_(QLatin1String(objectName)) { qApp->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == name_)
            ++count;
        return false;
    }

private:
    QString name_;
};

}  // namespace

class BrowserDialogTest : public QObject {
    Q_OBJECT

private:
    // A main window on settings that need no first start, with a file opened.
    struct Window {
        explicit Window(const std::string& tagsDirectory = "/games/vorn")
            : settings(test::initialisedSettings(tagsDirectory))
        {
        }
        std::unique_ptr<MemorySettingsStore> settings;
        ScriptedPrompter prompter;
        BrowserDialog dialog{*settings, prompter};

        void open(const std::string& path)
        {
            prompter.queueFile(path);
            dialog.onOpen();
        }
        QStringList lines()
        {
            QStringList result;
            QAbstractItemModel* model = list()->model();
            for (int row = 0; row < model->rowCount(); ++row)
                result << model->index(row, 0).data(ObjectListModel::kListLineRole).toString();
            return result;
        }
        QTableView* list() { return child<QTableView>(dialog, "object_list"); }
        // The shown texts of one column, top to bottom.
        QStringList column(int column)
        {
            QStringList texts;
            for (int row = 0; row < list()->model()->rowCount(); ++row)
                texts << list()->model()->index(row, column).data().toString();
            return texts;
        }
        QComboBox* filter() { return child<QComboBox>(dialog, "type_filter"); }
        QString statusLine() { return child<QLabel>(dialog, "status_line")->text(); }
        QStringList filterItems()
        {
            QStringList items;
            for (int i = 0; i < filter()->count(); ++i)
                items << filter()->itemText(i);
            return items;
        }
        void clickHeader(int column)
        {
            QHeaderView* header = list()->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        }
        QAction* objectAction(const QString& text)
        {
            for (QAction* action : dialog.findChild<QMenuBar*>()->actions().at(1)->menu()->actions())
                if (action->text() == text)
                    return action;
            return nullptr;
        }
        void click(const char* name) { QTest::mouseClick(child<QPushButton>(dialog, name), Qt::LeftButton); }
        void selectRow(int row) { list()->setCurrentIndex(list()->model()->index(row, 0)); }
        // Presses "Dump Map" and answers the text its window shows (read-only, closed again).
        QString title;  // of the last Dump Map shown
        QString dumpMap()
        {
            QString text;
            test::whenModalShows("dump_map_dialog", [&](QDialog& dump) {
                auto* view = child<QPlainTextEdit>(dump, "dump_map_text");
                title = dump.windowTitle();
                text = view->isReadOnly() ? view->toPlainText() : QStringLiteral("?");
                QTest::mouseClick(child<QPushButton>(dump, "ok_button"), Qt::LeftButton);
            });
            click("dump_map_button");
            return text;
        }
    };

    test::TempDir dir_;

private slots:
    void cleanup();
    void openProposesTagsGorOfTheTagsDirectory();
    void listIsSortedIgnoringCaseAndEachLineCarriesItsEntry();
    void linesEqualButForCaseKeepFileOrder();
    void listModelPassesTheModelTester();
    void tableShowsColumnsMarksAndSortsByAHeaderClick();
    void searchNarrowsWithTheTypeFilterAndCounts();
    void extractSelectedWritesEachOnceWithOneSummary();
    void titleNamesTheFolderWhenAnotherProgramHasTheSameName();
    void filterListsOneTypeAndAllAgain();
    void selectionShowsPositionInTheList();
    void secondOpenClearsAfterTheNoticeAndListsOnlyTheNewFile();
    void cancellingTheNoticeKeepsFileListAndFilter();
    void cancellingTheFileDialogChangesNothing();
    void withoutAFileDataAsksForASelectionAndDumpMapIsEmpty();
    void headerWithoutSelectionSelectsTheFirstLineSilently();
    void headerAndDoubleClickShowTheSelectedEntry();
    void dumpMapFollowsTheTypeFilter();
    void archiveWithoutDirectoryListsNothingAndKeepsTheFileOpen();
    void missingFileIsReportedWithItsPathAndCause();
    void openFileIsNotSharedAndSingleTagShowsNoProgress();
    void objectDataOpensTheViewerOnTheSelectedEntry();
    void aboutAndSettingsOpenOverTheWindow();
    void editorsAreReplacedByASecondPressAndReleasedAtTheEnd();
    void cleanUpAfterOkOrCancelClosesClearsAndReleases();
    void exitEndsTheRunButEscapeAndEnterNever();
    void dialogsOverTheWindowAreModalToItAloneAndNameTheirControls();
    void enterOnALineOpensItsHeader();
    void unsavedEditorWorkIsSettledFirst();
    void shortcutsMenusAndTitle();
    void recentDroppedAndRememberedFiles();
};

// No window, dialog or editor form outlives the test that opened it.
void BrowserDialogTest::cleanup()
{
    QStringList open;
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            open << window->objectName();
    QCOMPARE(open, QStringList{});
}

void BrowserDialogTest::openProposesTagsGorOfTheTagsDirectory()
{
    Window w;
    QCOMPARE(w.filterItems(), QStringList{QStringLiteral("All")});
    QCOMPARE(w.statusLine(), QString());
    w.dialog.onOpen();  // cancelled: nothing queued
    const Prompter::FileRequest& request = w.prompter.fileRequests().at(0);
    QCOMPARE(request.initialName, std::string("/games/vorn/tags.gor"));
    QCOMPARE(request.filter, std::string("Vorn Tag Files (*.gor)|*.gor|Plug-Ins|*|All Files (*.*)|*.*||"));
    QVERIFY(request.kind == Prompter::FileRequest::Kind::Open);
    QVERIFY(request.mustExist);
    QVERIFY(!w.dialog.archiveOpen());
    QVERIFY(w.prompter.shown().empty());
}

void BrowserDialogTest::listIsSortedIgnoringCaseAndEachLineCarriesItsEntry()
{
    Window w;
    const std::string path = dir_.write("mixed.gor", buildArchive(mixedTags()));
    w.open(path);
    QCOMPARE(w.lines(), (QStringList{"ALFA : Greeting", "alfb : Archer", "beta : Knight", "beta : Knight again",
                                     "Caps : Farewell"}));
    QAbstractItemModel* model = w.list()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const auto index = model->index(row, 0).data(ObjectListModel::kEntryIndexRole).value<std::uint32_t>();
        QCOMPARE(QString::fromLatin1(w.dialog.directory().entryAt(index).listLine()), w.lines()[row]);
    }
    QCOMPARE(w.dialog.filePath(), path);
    QCOMPARE(w.dialog.fileName(), std::string("mixed.gor"));
    QVERIFY(w.dialog.openFile() != nullptr);
    QCOMPARE(w.dialog.idsOfType("mons"), std::string("betaalfb"));
    QCOMPARE(w.statusLine(), QStringLiteral("All Objects"));  // not the last type the reading added
    QVERIFY(w.prompter.shown().empty());
}

void BrowserDialogTest::linesEqualButForCaseKeepFileOrder()
{
    Window w;
    w.open(dir_.write("cases.gor", buildArchive({tag("Long name sorts late", "mons", "abcd"), tag("x", "mons", "ABCD"),
                                                 tag("X", "stli", "abcd"), tag("", "mons", "abcd")})));
    QCOMPARE(w.lines(), (QStringList{"abcd : ", "abcd : Long name sorts late", "ABCD : x", "abcd : X"}));

    // The order of the lines' texts, case ignored, over what makes the fast key
    // go wrong: short ids, bytes after a NUL, a name without one, Latin-1, the
    // characters beside the capitals, and lines alike in their first eight
    // characters in groups of every size the sort handles apart.
    // Equal lines in file order, seen by their entries.
    std::vector<SampleTag> tags{tag("Zed", "mons", "ab"), tag("zed", "mons", "a"), tag(std::string("ab\0zz", 5), "mons", "abcd"),
                                tag(std::string("ab\0aa", 5), "mons", "abcd"), tag("x", "mons", std::string("ab\0z", 4)),
                                tag("x", "mons", std::string("ab\0a", 4)), tag(std::string(32, 'n'), "mons", "abcd"),
                                tag("\xC9p\xE9" "e", "mons", "abcd"), tag("[x", "mons", "abcd"), tag("@x", "mons", "abcd"),
                                tag("", "mons", "")};
    for (int i = 0; i < 300; ++i)
        tags.push_back(tag("Prefix " + std::to_string((i * 7919) % 1000), "stli", i < 20 ? "few" : "many"));
    w.prompter.queueAnswer(Prompter::Answer::Ok);
    w.open(dir_.write("keys.gor", buildArchive(tags)));
    std::vector<std::pair<std::string, std::uint32_t>> expected;
    for (std::uint32_t i = 0; i < w.dialog.directory().entryCount(); ++i) {
        std::string lowered = w.dialog.directory().entryAt(i).listLine();
        for (char& c : lowered)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
        expected.emplace_back(lowered, i);
    }
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QAbstractItemModel* model = w.list()->model();
    QCOMPARE(static_cast<std::size_t>(model->rowCount()), expected.size());
    for (int row = 0; row < model->rowCount(); ++row)
        QCOMPARE(model->index(row, 0).data(ObjectListModel::kEntryIndexRole).value<std::uint32_t>(),
                 expected[static_cast<std::size_t>(row)].second);
}

void BrowserDialogTest::listModelPassesTheModelTester()
{
    Window w;
    QAbstractItemModelTester tester(w.list()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    w.open(dir_.write("tester.gor", buildArchive(mixedTags())));
    w.filter()->setCurrentIndex(2);
    w.filter()->setCurrentIndex(0);
    w.list()->sortByColumn(ObjectListModel::NameColumn, Qt::DescendingOrder);
    child<QLineEdit>(w.dialog, "search_field")->setText(QStringLiteral("k"));
    w.prompter.queueAnswer(Prompter::Answer::Ok);
    w.open(dir_.write("tester2.gor", buildArchive(monsTags(3))));
    QCOMPARE(w.lines().size(), 3);
}

void BrowserDialogTest::tableShowsColumnsMarksAndSortsByAHeaderClick()
{
    test::TempDir tags;
    std::filesystem::create_directories(tags.path() / "local" / "mons");
    (void)tags.write("local/mons/alfb", Bytes(70, 1));
    Window w(tags.path().string() + "/");
    w.open(dir_.write("table.gor", buildArchive(mixedTags())));
    w.dialog.show();
    QStringList titles;
    for (int column = 0; column < ObjectListModel::ColumnCount; ++column)
        titles << w.list()->model()->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"Type", "ID", "Name", "Start", "Length", "Plug-In"}));
    QCOMPARE(w.column(ObjectListModel::TypeColumn), (QStringList{"stli", "mons", "mons", "mons", "stli"}));
    QCOMPARE(w.column(ObjectListModel::PlugInColumn), (QStringList{"", "\u2713", "", "", ""}));
    QCOMPARE(w.column(ObjectListModel::LengthColumn), QStringList(5, QStringLiteral("8")));
    const TagEntry first = w.dialog.directory().entryAt(w.list()->model()->index(0, 0).data(ObjectListModel::kEntryIndexRole).toUInt());
    QCOMPARE(w.column(ObjectListModel::StartColumn)[0], QString::number(first.startAddress()));
    QList<bool> duplicates;
    for (int row = 0; row < 5; ++row)
        duplicates << w.list()->model()->index(row, 2).data(ObjectListModel::kDuplicateRole).toBool();
    QCOMPARE(duplicates, (QList<bool>{false, false, true, true, false}));

    w.clickHeader(ObjectListModel::NameColumn);
    QCOMPARE(w.column(ObjectListModel::NameColumn),
             (QStringList{"Archer", "Farewell", "Greeting", "Knight", "Knight again"}));
    w.clickHeader(ObjectListModel::NameColumn);
    QCOMPARE(w.column(ObjectListModel::NameColumn).constFirst(), QStringLiteral("Knight again"));
    w.clickHeader(ObjectListModel::TypeColumn);  // equal types keep the list's own order
    QCOMPARE(w.column(ObjectListModel::IdColumn), (QStringList{"alfb", "beta", "beta", "ALFA", "Caps"}));
    w.list()->sortByColumn(ObjectListModel::PlugInColumn, Qt::AscendingOrder);
    QCOMPARE(w.column(ObjectListModel::IdColumn), (QStringList{"alfb", "ALFA", "beta", "beta", "Caps"}));
    w.list()->sortByColumn(ObjectListModel::IdColumn, Qt::AscendingOrder);
    QCOMPARE(w.lines(), (QStringList{"ALFA : Greeting", "alfb : Archer", "beta : Knight", "beta : Knight again",
                                     "Caps : Farewell"}));

    w.list()->setCurrentIndex(w.list()->model()->index(0, ObjectListModel::NameColumn));
    w.list()->keyboardSearch(QStringLiteral("ca"));  // by id, whichever cell is current
    QCOMPARE(w.list()->currentIndex().row(), 4);
    w.dialog.hide();
}

void BrowserDialogTest::searchNarrowsWithTheTypeFilterAndCounts()
{
    Window w;
    w.open(dir_.write("search.gor", buildArchive(mixedTags())));
    w.dialog.show();
    w.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
    auto* search = child<QLineEdit>(w.dialog, "search_field");
    QCOMPARE(search->accessibleName(), QStringLiteral("Search"));
    QTest::keyClick(&w.dialog, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("AR"));
    QCOMPARE(w.lines(), (QStringList{"alfb : Archer", "Caps : Farewell"}));  // names, case ignored
    QCOMPARE(w.statusLine(), QStringLiteral("All Objects - 2 of 5 shown"));
    w.filter()->setCurrentIndex(1);
    QCOMPARE(w.lines(), QStringList{"alfb : Archer"});
    QCOMPARE(w.statusLine(), QStringLiteral("mons Objects - 1 of 2 shown"));
    w.filter()->setCurrentIndex(0);
    search->setText(QStringLiteral("stl"));  // types
    QCOMPARE(w.lines(), (QStringList{"ALFA : Greeting", "Caps : Farewell"}));
    search->setText(QStringLiteral("ET"));  // ids and names
    QCOMPARE(w.lines(), (QStringList{"ALFA : Greeting", "beta : Knight", "beta : Knight again"}));
    QTest::keyClick(search, Qt::Key_Escape);  // clears the search, the window stays
    QCOMPARE(w.lines().size(), 5);
    QCOMPARE(w.statusLine(), QStringLiteral("All Objects"));
    QVERIFY(w.dialog.isVisible());
    w.dialog.hide();
}

void BrowserDialogTest::extractSelectedWritesEachOnceWithOneSummary()
{
    test::TempDir tags;
    std::filesystem::create_directories(tags.path() / "local" / "mons");
    (void)tags.write("local/mons/alfb", Bytes(70, 1));  // there already: skipped, kept
    Window w(tags.path().string() + "/");
    const std::vector<SampleTag> tagList = mixedTags();
    w.open(dir_.write("extract.gor", buildArchive(tagList)));
    QAbstractItemModel* model = w.list()->model();
    w.list()->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(2, 0)),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::string local = tags.path().string() + "/local";
    w.prompter.queueFile(local);
    w.objectAction(QStringLiteral("E&xtract Selected..."))->trigger();
    QVERIFY(w.prompter.fileRequests().back().kind == Prompter::FileRequest::Kind::Folder);
    QCOMPARE(w.prompter.fileRequests().back().initialName, local);
    QCOMPARE(test::readAll(local + "/stli/ALFA"), buildPlugIn(tagList[1]));
    QCOMPARE(test::readAll(local + "/mons/beta"), buildPlugIn(tagList[0]));
    QCOMPARE(test::readAll(local + "/mons/alfb"), Bytes(70, 1));
    QCOMPARE(w.prompter.shown().size(), std::size_t{1});
    QCOMPARE(w.prompter.shown()[0].text, "Extract Selected under " + local +
                                             ":\n2 created, 1 already existing (skipped), 0 failed\nskipped " + local +
                                             "/mons/alfb: already exists");
    QCOMPARE(w.column(ObjectListModel::PlugInColumn), (QStringList{"\u2713", "\u2713", "\u2713", "\u2713", ""}));

    // A folder that cannot be made is a failure with its cause; the others go on.
    (void)tags.write("blocked", Bytes(1, 0));
    w.prompter.queueFile(tags.file("blocked"));
    w.objectAction(QStringLiteral("E&xtract Selected..."))->trigger();
    QVERIFY(w.prompter.shown().back().text.find("0 created, 0 already existing (skipped), 3 failed\nfailed " +
                                                 tags.file("blocked") + "/stli/ALFA: The folder") != std::string::npos);
    QVERIFY(w.prompter.shown().back().icon == Prompter::Icon::Exclamation);
}

void BrowserDialogTest::titleNamesTheFolderWhenAnotherProgramHasTheSameName()
{
    test::TempDir registry;
    OpenArchives mine(QString::fromStdString(registry.file("open")));
    OpenArchives other(QString::fromStdString(registry.file("open")));
    other.setOpen("/games/one/tags.gor");
    QVERIFY(mine.nameSharedByAnother("/games/two/tags.gor"));
    QVERIFY(!mine.nameSharedByAnother("/games/two/other.gor"));
    QVERIFY(!other.nameSharedByAnother("/games/one/tags.gor"));
    other.setOpen("");
    QVERIFY(!mine.nameSharedByAnother("/games/two/tags.gor"));

    OpenArchives elsewhere(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                           QStringLiteral("/tagwarden-open"));
    elsewhere.setOpen("/games/one/title.gor");
    Window w;
    std::filesystem::create_directories(dir_.path() / "two");
    w.open(dir_.write("two/title.gor", buildArchive(mixedTags())));
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("title.gor (%1) - Tagwarden").arg(QString::fromStdString(dir_.file("two"))));
}

void BrowserDialogTest::filterListsOneTypeAndAllAgain()
{
    Window w;
    w.open(dir_.write("filter.gor", buildArchive(mixedTags())));
    QCOMPARE(w.filterItems(), (QStringList{"All", "mons", "stli"}));
    QCOMPARE(w.filter()->currentIndex(), 0);

    w.filter()->setCurrentIndex(1);
    // The duplicate "beta" is no member of the group, so it is not listed under mons.
    QCOMPARE(w.lines(), (QStringList{"alfb : Archer", "beta : Knight"}));
    QCOMPARE(w.statusLine(), QStringLiteral("mons Objects"));

    w.filter()->setCurrentIndex(2);
    QCOMPARE(w.lines(), (QStringList{"ALFA : Greeting", "Caps : Farewell"}));
    QCOMPARE(w.statusLine(), QStringLiteral("stli Objects"));

    w.filter()->setCurrentIndex(0);
    QCOMPARE(w.lines().size(), 5);
    QCOMPARE(w.statusLine(), QStringLiteral("All Objects"));
}

void BrowserDialogTest::selectionShowsPositionInTheList()
{
    Window w;
    std::vector<SampleTag> tags = monsTags(17);
    tags.push_back(tag("Text", "stli", "s001"));
    w.open(dir_.write("seventeen.gor", buildArchive(tags)));
    w.filter()->setCurrentIndex(1);
    w.selectRow(2);
    QCOMPARE(w.statusLine(), QStringLiteral("mons objects - 3/17 entries"));
    QCOMPARE(w.dialog.statusText(), w.statusLine());
    w.filter()->setCurrentIndex(0);
    w.selectRow(17);
    QCOMPARE(w.statusLine(), QStringLiteral("All objects - 18/18 entries"));
}

void BrowserDialogTest::secondOpenClearsAfterTheNoticeAndListsOnlyTheNewFile()
{
    Window w;
    w.open(dir_.write("first.gor", buildArchive(mixedTags())));
    w.filter()->setCurrentIndex(1);
    w.prompter.queueAnswer(Prompter::Answer::Ok);
    const std::string second = dir_.write("second.gor", buildArchive(monsTags(4)));
    w.open(second);
    QCOMPARE(w.prompter.shown().size(), std::size_t{1});
    const ScriptedPrompter::Shown& notice = w.prompter.shown()[0];
    QCOMPARE(notice.text, std::string(kClearNotice));
    QVERIFY(notice.buttons == Prompter::Buttons::OkCancel);
    QVERIFY(notice.icon == Prompter::Icon::None);
    QCOMPARE(notice.caption, std::string("Tagwarden"));
    QCOMPARE(w.lines(), (QStringList{"m000 : Unit 0", "m001 : Unit 1", "m002 : Unit 2", "m003 : Unit 3"}));
    QCOMPARE(w.filterItems(), (QStringList{"All", "mons"}));
    QCOMPARE(w.dialog.filePath(), second);
    QCOMPARE(w.dialog.directory().entryCount(), std::size_t{4});
}

void BrowserDialogTest::cancellingTheNoticeKeepsFileListAndFilter()
{
    Window w;
    const std::string first = dir_.write("kept.gor", buildArchive(mixedTags()));
    w.open(first);
    w.filter()->setCurrentIndex(2);
    const QStringList before = w.lines();
    w.prompter.queueAnswer(Prompter::Answer::Cancel);
    w.open(dir_.write("other.gor", buildArchive(monsTags(4))));
    QCOMPARE(w.prompter.shown().size(), std::size_t{1});
    QCOMPARE(w.lines(), before);
    QCOMPARE(w.filterItems(), (QStringList{"All", "mons", "stli"}));
    QCOMPARE(w.filter()->currentIndex(), 2);
    QCOMPARE(w.dialog.filePath(), first);
    QVERIFY(w.dialog.openFile() != nullptr);
    QCOMPARE(w.dialog.openFile()->path(), first);
}

void BrowserDialogTest::cancellingTheFileDialogChangesNothing()
{
    Window w;
    const std::string path = dir_.write("stay.gor", buildArchive(mixedTags()));
    w.open(path);
    w.filter()->setCurrentIndex(1);
    const QString status = w.statusLine();
    w.dialog.onOpen();  // the file dialog answers Cancel
    QVERIFY(w.prompter.shown().empty());
    QCOMPARE(w.lines().size(), 2);
    QCOMPARE(w.statusLine(), status);
    QCOMPARE(w.dialog.filePath(), path);
    QVERIFY(w.dialog.openFile() != nullptr);
}

void BrowserDialogTest::withoutAFileDataAsksForASelectionAndDumpMapIsEmpty()
{
    Window w;
    for (const char* name : {"object_header_button", "object_data_button", "dump_map_button"})
        QVERIFY(!child<QPushButton>(w.dialog, name)->isEnabled());
    QStringList disabled;
    for (QAction* action : w.dialog.findChild<QMenuBar*>()->actions().at(1)->menu()->actions())
        if (!action->isEnabled())
            disabled << action->text();
    QCOMPARE(disabled, (QStringList{"&Header", "&Data", "Dump &Map", "E&xtract Selected...", "&Edit Plug-In",
                                  "&Compare with Archive"}));

    w.open(dir_.write("nosel.gor", buildArchive(mixedTags())));
    w.click("object_data_button");  // a file but still no line selected
    QCOMPARE(w.prompter.shown().back().text, std::string("Not a Valid Selection"));
    QVERIFY(w.prompter.shown().back().buttons == Prompter::Buttons::Ok);
    QVERIFY(w.prompter.shown().back().icon == Prompter::Icon::None);
    QVERIFY(!w.dumpMap().isEmpty());
    QCOMPARE(w.title, QStringLiteral("nosel.gor (all types) - Tagwarden - Dump Map"));
    w.dialog.closeFile();
    QVERIFY(!child<QPushButton>(w.dialog, "dump_map_button")->isEnabled());
}

void BrowserDialogTest::headerWithoutSelectionSelectsTheFirstLineSilently()
{
    Window w;
    w.click("object_header_button");  // empty list: nothing at all
    QVERIFY(!w.list()->selectionModel()->hasSelection());
    w.open(dir_.write("silent.gor", buildArchive(mixedTags())));
    const QString status = w.statusLine();
    ShowCounter headers("header_dialog");
    w.click("object_header_button");
    QCOMPARE(headers.count, 0);
    QCOMPARE(w.list()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(w.list()->selectionModel()->selectedRows()[0].row(), 0);
    QCOMPARE(w.statusLine(), status);
}

void BrowserDialogTest::headerAndDoubleClickShowTheSelectedEntry()
{
    Window w;
    w.open(dir_.write("header.gor", buildArchive(mixedTags())));
    w.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.dialog));
    w.selectRow(1);
    QStringList seen;
    const auto readHeader = [&](QDialog& header) {
        seen << header.windowTitle() << child<QLineEdit>(header, "description_edit")->text()
             << child<QLineEdit>(header, "id_edit")->text();
        header.accept();
    };
    test::whenModalShows("header_dialog", readHeader);
    w.click("object_header_button");
    QCOMPARE(seen, (QStringList{"Vorn Object Details", "Archer", "alfb"}));

    seen.clear();
    test::whenModalShows("header_dialog", readHeader);
    const QRect line = w.list()->visualRect(w.list()->model()->index(4, 0));
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, line.center());
    QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, line.center());
    QCOMPARE(seen, (QStringList{"Vorn Object Details", "Farewell", "Caps"}));
    QVERIFY(!test::modalTimedOut());
}

void BrowserDialogTest::dumpMapFollowsTheTypeFilter()
{
    Window w;
    w.open(dir_.write("dump.gor", buildArchive(mixedTags())));
    QCOMPARE(w.dumpMap(), QStringLiteral("\nKey: mons pointer = 1 Entries = 2\n\tObjects: beta-0; alfb-2; "
                                         "\nKey: stli pointer = 2 Entries = 2\n\tObjects: ALFA-1; Caps-4; "));
    w.filter()->setCurrentIndex(2);
    QCOMPARE(w.dumpMap(), QStringLiteral("\nKey: stli pointer = 2 Entries = 2\n\tObjects: ALFA-1; Caps-4; "));
    QCOMPARE(w.title, QStringLiteral("dump.gor (stli) - Tagwarden - Dump Map"));
    QVERIFY(w.prompter.shown().empty());
}

void BrowserDialogTest::archiveWithoutDirectoryListsNothingAndKeepsTheFileOpen()
{
    Window w;
    Bytes bytes = buildArchive(mixedTags());
    bytes[40] = 0;  // directory offset 63: before the first possible header
    bytes[41] = 0;
    bytes[42] = 0;
    bytes[43] = 63;
    w.open(dir_.write("nodir.gor", bytes));
    QCOMPARE(w.prompter.shown().size(), std::size_t{1});
    QCOMPARE(w.prompter.shown()[0].text, std::string("ERROR - No Directory Found"));
    QVERIFY(w.prompter.shown()[0].icon == Prompter::Icon::None);
    QVERIFY(w.lines().isEmpty());
    QCOMPARE(w.filterItems(), QStringList{QStringLiteral("All")});
    QVERIFY(w.dialog.openFile() != nullptr);
    QVERIFY(w.dialog.archiveOpen());
}

void BrowserDialogTest::missingFileIsReportedWithItsPathAndCause()
{
    Window w;
    const std::string missing = dir_.file("not-there.gor");
    w.open(missing);
    QCOMPARE(w.prompter.shown().size(), std::size_t{1});
    // The sentence names the path and the cause; the system's own words may follow.
    QVERIFY(w.prompter.shown()[0].text.starts_with("The file \"" + missing + "\" could not be found."));
    QVERIFY(w.prompter.shown()[0].icon == Prompter::Icon::Error);
    QVERIFY(w.lines().isEmpty());
    QVERIFY(w.dialog.openFile() == nullptr);

    // A later Open has nothing to clear, so it asks nothing.
    w.open(dir_.write("after.gor", buildArchive(monsTags(2))));
    QCOMPARE(w.prompter.shown().size(), std::size_t{1});
    QCOMPARE(w.lines().size(), 2);
}

void BrowserDialogTest::openFileIsNotSharedAndSingleTagShowsNoProgress()
{
    Window w;
    const std::string plugIn = dir_.write("beta", buildPlugIn(tag("Knight", "mons", "beta")));
    ShowCounter progress("progress_dialog");
    w.open(plugIn);
    QCOMPARE(progress.count, 0);
    QCOMPARE(w.lines(), QStringList{QStringLiteral("beta : Knight")});
    QCOMPARE(w.filterItems(), (QStringList{"All", "mons"}));
    bool refused = false;
    try {
        File second(plugIn, File::Access::Read, File::Share::All);
    } catch (const FileError& error) {
        refused = error.cause() == FileErrorCause::SharingViolation;
    }
    QVERIFY(refused);

    w.prompter.queueAnswer(Prompter::Answer::Ok);
    w.open(dir_.write("progress.gor", buildArchive(monsTags(300))));
    QCOMPARE(progress.count, 1);
    QCOMPARE(w.lines().size(), 300);
}

void BrowserDialogTest::objectDataOpensTheViewerOnTheSelectedEntry()
{
    Window w;
    w.open(dir_.write("viewer.gor", buildArchive(mixedTags())));
    w.selectRow(0);
    QString title;
    test::whenModalShows("objectViewerDialog", [&](QDialog& viewer) {
        title = viewer.windowTitle();
        viewer.reject();
    });
    w.click("object_data_button");
    QVERIFY(!test::modalTimedOut());
    QVERIFY(!title.isEmpty());
    QVERIFY(w.prompter.shown().empty());
}

void BrowserDialogTest::aboutAndSettingsOpenOverTheWindow()
{
    Window w;
    QStringList seen;
    test::whenModalShows("about_dialog", [&](QDialog& about) {
        seen << about.windowTitle() << child<QLabel>(about, "version_label")->text();
        QTest::mouseClick(child<QPushButton>(about, "ok_button"), Qt::LeftButton);
    });
    w.click("about_button");
    w.dialog.onOpen();  // asks for the tags directory, which keeps the separator it gains
    test::whenModalShows("settings_dialog", [&](QDialog& settings) {
        seen << settings.windowTitle() << child<QLineEdit>(settings, "tags_directory_edit")->text();
        settings.reject();
    });
    w.click("settings_button");
    QVERIFY(!test::modalTimedOut());
    QCOMPARE(seen, (QStringList{"About Tagwarden", "Tagwarden Version 0.8", "Tagwarden Settings", "/games/vorn/"}));
}

void BrowserDialogTest::editorsAreReplacedByASecondPressAndReleasedAtTheEnd()
{
    const test::TempDir sample;
    writeSampleDirectory(sample.path().string());
    const std::string unit = sample.file("local/mons/msaa");
    const std::string strings = sample.file("local/stli/stab");
    Window w;
    // The same plug-in twice: the first editor must let go of it before the second opens it.
    for (int press = 0; press < 2; ++press) {
        w.prompter.queueFile(unit);
        w.click("edit_mons_button");
        w.prompter.queueFile(strings);
        w.click("edit_stli_button");
    }
    QVERIFY2(w.prompter.shown().empty(), w.prompter.shown().empty() ? "" : w.prompter.shown()[0].text.c_str());
    QVERIFY(w.dialog.unitEditor() != nullptr);
    QVERIFY(w.dialog.unitEditorOpen());
    QVERIFY(w.dialog.stringListEditorOpen());
    QVERIFY(w.dialog.unitEditor()->form()->parentWidget() == nullptr);  // editor forms have no owner window

    w.click("edit_mons_button");  // cancelled: the old editor is gone all the same
    QVERIFY(!w.dialog.unitEditorOpen());
    File free(unit, File::Access::Read, File::Share::None);
    free.close();

    w.dialog.releaseEditors();
    QVERIFY(w.dialog.unitEditor() == nullptr);
    QVERIFY(w.dialog.stringListEditor() == nullptr);
    QVERIFY(w.dialog.mapEditor() == nullptr);
    File released(strings, File::Access::Read, File::Share::None);
}

void BrowserDialogTest::cleanUpAfterOkOrCancelClosesClearsAndReleases()
{
    for (const int result : {int(QDialog::Accepted), int(QDialog::Rejected)}) {
        Window w;
        const std::string path = dir_.write("cleanup.gor", buildArchive(mixedTags()));
        w.open(path);
        TagwardenApp::cleanUp(w.dialog, result);
        QVERIFY(w.dialog.openFile() == nullptr);
        QVERIFY(!w.dialog.archiveOpen());
        QCOMPARE(w.dialog.directory().entryCount(), std::size_t{0});
        QVERIFY(w.lines().isEmpty());
        QVERIFY(w.dialog.settingsDialog() == nullptr);
        File again(path, File::Access::Read, File::Share::None);  // nobody holds it any more
        QVERIFY(w.prompter.shown().empty());
    }
}

void BrowserDialogTest::exitEndsTheRunButEscapeAndEnterNever()
{
    auto settings = test::initialisedSettings("/games/vorn");
    ScriptedPrompter prompter;
    for (const bool keysFirst : {false, true}) {
        QString title;
        bool shownAfterKeys = false;
        test::whenModalShows("browser_dialog", [&](QDialog& window) {
            title = window.windowTitle();
            if (keysFirst) {
                QTest::keyClick(&window, Qt::Key_Escape);
                QTest::keyClick(child<QComboBox>(window, "type_filter"), Qt::Key_Return);
                QTest::keyClick(child<QLineEdit>(window, "search_field"), Qt::Key_Enter);
                shownAfterKeys = window.isVisible() && window.result() == 0;
            }
            QTest::mouseClick(child<QPushButton>(window, "exit_button"), Qt::LeftButton);
        });
        QCOMPARE(TagwardenApp(*settings, prompter).run(), 0);
        QCOMPARE(title, QStringLiteral("Tagwarden"));
        QCOMPARE(shownAfterKeys, keysFirst);
    }
    QVERIFY(!test::modalTimedOut());
}

void BrowserDialogTest::dialogsOverTheWindowAreModalToItAloneAndNameTheirControls()
{
    Window w;
    w.open(dir_.write("modal.gor", buildArchive(mixedTags())));
    w.dialog.show();
    w.selectRow(0);
    const std::pair<const char*, const char*> kDialogs[] = {
        {"object_header_button", "header_dialog"}, {"object_data_button", "objectViewerDialog"},
        {"settings_button", "settings_dialog"},    {"about_button", "about_dialog"},
        {"dump_map_button", "dump_map_dialog"},
    };
    QVERIFY(!test::controlNames(w.dialog).contains(QString()));
    for (const auto& [button, name] : kDialogs) {
        bool modalToTheWindow = false;
        QStringList names{QString()};
        test::whenModalShows(name, [&](QDialog& shown) {
            modalToTheWindow = shown.windowModality() == Qt::WindowModal && shown.parentWidget() == &w.dialog;
            names = test::controlNames(shown);
            shown.reject();
        });
        w.click(button);
        QVERIFY2(modalToTheWindow, name);
        QVERIFY2(!names.contains(QString()), name);
    }
    QVERIFY(!test::modalTimedOut());
    w.dialog.hide();
}

void BrowserDialogTest::enterOnALineOpensItsHeader()
{
    Window w;
    w.open(dir_.write("enter.gor", buildArchive(mixedTags())));
    w.dialog.show();
    w.selectRow(1);
    QString description;
    test::whenModalShows("header_dialog", [&](QDialog& header) {
        description = child<QLineEdit>(header, "description_edit")->text();
        header.accept();
    });
    QTest::keyClick(w.list(), Qt::Key_Return);
    QCOMPARE(description, QStringLiteral("Archer"));
    QVERIFY(w.dialog.isVisible());  // the run goes on
    QCOMPARE(w.dialog.result(), 0);
    w.dialog.hide();
}

// A unit editor with one changed field, then Exit or a second "Edit mons File",
// answered Cancel, Discard or Save: only Cancel keeps both, only Save writes.
void BrowserDialogTest::unsavedEditorWorkIsSettledFirst()
{
    const test::TempDir sample;
    writeSampleDirectory(sample.path().string());
    const std::string unit = sample.file("local/mons/msaa");
    const Bytes original = test::readAll(unit);
    for (const char* trigger : {"exit_button", "edit_mons_button"}) {
        for (const Prompter::Answer answer :
             {Prompter::Answer::Cancel, Prompter::Answer::Discard, Prompter::Answer::Save}) {
            Window w;
            w.settings->writeString(settings::kSection, settings::kBackupDirectory, sample.file("Backup"));
            w.dialog.show();
            w.prompter.queueFile(unit);
            w.click("edit_mons_button");
            MonsEditor* editor = w.dialog.unitEditor();
            const QPointer<MonsEditorDialog> form = editor->form();
            auto* health = child<QSpinBox>(*form, "health");
            health->setValue(health->value() == 7 ? 8 : 7);
            QVERIFY(editor->hasUnsavedChanges());

            w.prompter.queueAnswer(answer);
            w.click(trigger);  // a second editor start is cancelled: nothing queued
            // Saving tells where the backup went, after the question.
            const auto& shown = w.prompter.shown();
            const ScriptedPrompter::Shown& asked = shown[shown.size() - (answer == Prompter::Answer::Save ? 2 : 1)];
            QVERIFY(asked.buttons == Prompter::Buttons::SaveDiscardCancel);
            QVERIFY(asked.text.find(unit) != std::string::npos);
            const bool kept = answer == Prompter::Answer::Cancel;
            QCOMPARE(w.dialog.isVisible(), kept || trigger != std::string("exit_button"));
            QCOMPARE(!form.isNull(), kept || trigger == std::string("exit_button"));  // else replaced
            w.dialog.releaseEditors();
            QCOMPARE(test::readAll(unit) != original, answer == Prompter::Answer::Save);
            (void)sample.write("local/mons/msaa", original);
            w.dialog.hide();
        }
    }
}

void BrowserDialogTest::shortcutsMenusAndTitle()
{
    Window w;
    w.dialog.show();
    w.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Tagwarden"));
    const std::string path = dir_.write("title.gor", buildArchive(mixedTags()));
    w.prompter.queueFile(path);
    QTest::keyClick(&w.dialog, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("title.gor - Tagwarden"));
    w.dialog.activateWindow();  // the progress dialog had the focus while reading
    QVERIFY(QTest::qWaitForWindowActive(&w.dialog));

    QStringList menus;
    for (const QAction* menu : w.dialog.findChild<QMenuBar*>()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{"&File", "O&bject", "&Tools", "&Help"}));
    for (const char* name : {"open_button", "object_header_button", "edit_mons_button", "dump_map_button"})
        QVERIFY(!child<QPushButton>(w.dialog, name)->toolTip().isEmpty());

    bool aboutShown = false;
    test::whenModalShows("about_dialog", [&](QDialog& about) {
        aboutShown = true;
        about.accept();
    });
    QTest::keyClick(&w.dialog, Qt::Key_F1);
    QVERIFY(aboutShown);
    w.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
    QTest::keyClick(&w.dialog, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w.dialog.isVisible());
    QCOMPARE(w.dialog.result(), int(QDialog::Accepted));
    w.dialog.closeFile();
    QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Tagwarden"));
}

void BrowserDialogTest::recentDroppedAndRememberedFiles()
{
    const std::string first = dir_.write("first.gor", buildArchive(mixedTags()));
    const std::string second = dir_.write("second.gor", buildArchive(monsTags(3)));
    Window w;
    w.open(first);
    w.prompter.queueAnswer(Prompter::Answer::Ok);  // the clearing notice
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(second))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.dialog, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.dialog, &drop);
    QCOMPARE(w.dialog.filePath(), second);
    QCOMPARE(w.lines().size(), 3);

    auto* recent = w.dialog.findChild<QMenu*>("recent_menu");
    emit recent->aboutToShow();
    QStringList shown;
    for (const QAction* action : recent->actions())
        shown << action->text();
    QCOMPARE(shown, (QStringList{QString::fromStdString(second), QString::fromStdString(first)}));
    w.prompter.queueAnswer(Prompter::Answer::Ok);
    recent->actions().constLast()->trigger();
    QCOMPARE(w.dialog.filePath(), first);

    w.dialog.show();
    w.dialog.resize(720, 530);
    w.list()->horizontalHeader()->resizeSection(ObjectListModel::NameColumn, 333);
    w.list()->horizontalHeader()->moveSection(ObjectListModel::NameColumn, 0);
    w.list()->sortByColumn(ObjectListModel::LengthColumn, Qt::AscendingOrder);
    w.click("exit_button");
    BrowserDialog again(*w.settings, w.prompter);
    QCOMPARE(again.size(), QSize(720, 530));
    QHeaderView* columns = child<QTableView>(again, "object_list")->horizontalHeader();
    QCOMPARE(columns->sectionSize(ObjectListModel::NameColumn), 333);
    QCOMPARE(columns->visualIndex(ObjectListModel::NameColumn), 0);
    QCOMPARE(columns->sortIndicatorSection(), int(ObjectListModel::IdColumn));  // the list's own order again
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::BrowserDialogTest)
#include "browser_dialog_test.moc"
