// The map editor driven as a user would: choose a map plug-in, read and edit the
// map form, confirm the save, and compare the file byte for byte.
#include <QCheckBox>
#include <QUndoStack>
#include <functional>

#include "core/io/file.h"
#include "core/mesh/mesh_model.h"
#include "gui/mesh/mesh_commands.h"
#include "gui/mesh/mesh_editor_dialog.h"
#include "gui/mesh/mesh_items_dialog.h"
#include "gui/mesh/mesh_session.h"
#include "form_checks.h"
#include "mesh_test_setup.h"

namespace tagwarden {

using namespace test;

namespace {

constexpr const char* kConfirmText =
    "WARNING: You are about to write changes to disk.\nClick on OK to confirm or Cancel to return to the editor.";

QCheckBox* gameType(QWidget& form, int bit) { return child<QCheckBox>(form, QStringLiteral("gameType%1").arg(bit).toLatin1()); }

std::uint16_t header16(const Bytes& plugIn, std::size_t offset) { return readBigEndian16(plugIn.data() + kMeshData + offset); }

Bytes headerBytes(const Bytes& plugIn, std::size_t offset, std::size_t count)
{
    const auto at = plugIn.begin() + static_cast<std::ptrdiff_t>(kMeshData + offset);
    return {at, at + static_cast<std::ptrdiff_t>(count)};
}

bool opensAgain(const std::string& path)
{
    try {
        File file(path, File::Access::ReadWrite, File::Share::None);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

}  // namespace

class MeshEditorTest : public QObject {
    Q_OBJECT

private slots:
    void theChooserStartsInLocalMeshOfTheTagsDirectory();
    void theSampleMapShowsItsFieldsAndSavesByteForByte();
    void cancellingTheConfirmationWritesNothing();
    void unchangedNameAndIdKeepTheirBytesBehindTheirEnd();
    void editedFieldsReachTheirBytesAndTheOtherBitsStay();
    void aNumberOutOfRangeKeepsTheFormOpenAndTheFileUnchanged();
    void maxTeamsArrowsStepBetweenTwoAndTen();
    void aCancelledChooserShowsNothing();
    void aMapThatDoesNotFitIsRefusedWithoutAForm();
    void viewItemsShowsOneItemEditorAtATime();
    void destroyingTheEditorClosesItsFormsAndFile();
    void everyControlIsNamedAfterItsLabelAndTheFormFits();
    void unsavedChangesAreWhatOkWouldWrite();
    void saveChangesWritesWhatOkWritesWithoutAsking();
    void undoRedoAndCtrlSFollowTheStackAndTheTitle();
    void cancelPutsFormsAndModelBackToTheFile();
    void nothingClosesOrUndoesWhileARecordFormRuns();
};

void MeshEditorTest::theChooserStartsInLocalMeshOfTheTagsDirectory()
{
    for (const std::string& tagsDirectory : {std::string("/games/vorn"), std::string("/games/vorn/")}) {
        MemorySettingsStore settings;
        settings.writeString(settings::kSection, settings::kTagsDirectory, tagsDirectory);
        ScriptedPrompter prompter;
        MeshEditor editor(settings, prompter);
        QVERIFY(!editor.start());
        QCOMPARE(prompter.fileRequests().size(), std::size_t(1));
        QCOMPARE(prompter.fileRequests()[0].initialName, std::string("/games/vorn/local/mesh/"));
        QCOMPARE(prompter.fileRequests()[0].filter, std::string("Vorn PlugIns |*||"));
    }
}

void MeshEditorTest::theSampleMapShowsItsFieldsAndSavesByteForByte()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("mpaa - Tagwarden - MESH editor"));
    QCOMPARE(fieldText(*form, "mapName"), QStringLiteral("mpaa"));
    QCOMPARE(fieldText(*form, "description"), QStringLiteral("Sample Map 1"));
    QCOMPARE(fieldText(*form, "mapGraphic"), QStringLiteral("mgr1"));
    QCOMPARE(fieldText(*form, "secondaryWater"), QString());  // FFFFFFFF
    QCOMPARE(fieldText(*form, "objectives"), QStringLiteral("obj1"));
    QCOMPARE(fieldText(*form, "narrationSound"), QStringLiteral("nars"));
    QCOMPARE(fieldText(*form, "width"), QStringLiteral("2"));
    QCOMPARE(fieldText(*form, "meshOffset"), QStringLiteral("1024"));
    for (const char* shownOnly : {"width", "height", "meshOffset"})
        QVERIFY(child<QLineEdit>(*form, shownOnly)->isReadOnly());
    QCOMPARE(fieldText(*form, "maxTeams"), QStringLiteral("2"));
    QVERIFY(child<QRadioButton>(*form, "single")->isChecked());
    QVERIFY(gameType(*form, 0)->isChecked() && !gameType(*form, 1)->isChecked() && gameType(*form, 2)->isChecked());
    QCOMPARE(gameType(*form, 11)->text(), QStringLiteral("None"));
    QVERIFY(!gameType(*form, 11)->isChecked());

    setup.prompter.clearRecord();
    clickStandard(*form, QDialogButtonBox::Ok);
    QCOMPARE(setup.prompter.shown().size(), std::size_t(3));
    QCOMPARE(setup.prompter.shown()[0].text, std::string(kConfirmText));
    QCOMPARE(setup.prompter.shown()[0].caption, std::string("Confirm Save"));
    QVERIFY(setup.prompter.shown()[0].icon == Prompter::Icon::Exclamation);
    // The first save keeps the map as it was at its path below the tags directory, and says where.
    const std::string backup = setup.dir.file("Backup/local/mesh/mpaa");
    QCOMPARE(setup.prompter.shown()[1].text, "The file as it was before this save is backed up as:\n" + backup);
    QVERIFY(readAll(backup) == setup.original);
    QCOMPARE(setup.prompter.shown()[2].text, std::string("Mesh File Successfully written!"));
    QVERIFY(!form->isVisible());
    QVERIFY(setup.onDisk() == setup.original);
}

void MeshEditorTest::cancellingTheConfirmationWritesNothing()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    typeText(*form, "mapGraphic", QStringLiteral("zz"));
    setup.prompter.queueAnswer(Prompter::Answer::Cancel);
    clickStandard(*form, QDialogButtonBox::Ok);
    QVERIFY(form->isVisible());
    setup.editor.reset();
    QVERIFY(setup.onDisk() == setup.original);
}

void MeshEditorTest::unchangedNameAndIdKeepTheirBytesBehindTheirEnd()
{
    Bytes plugIn = meshPlugIn();
    std::copy_n("Map\0old name", 12, plugIn.begin());
    std::copy_n("m\0p!", 4, plugIn.begin() + 36);
    MeshSetup setup(plugIn);
    QVERIFY(setup.editor->start());
    QCOMPARE(fieldText(*setup.editor->form(), "description"), QStringLiteral("Map"));
    QCOMPARE(fieldText(*setup.editor->form(), "mapName"), QStringLiteral("m"));
    clickStandard(*setup.editor->form(), QDialogButtonBox::Ok);
    QVERIFY(setup.onDisk() == plugIn);
}

void MeshEditorTest::editedFieldsReachTheirBytesAndTheOtherBitsStay()
{
    Bytes plugIn = withHeader16(withHeader16(meshPlugIn(), 78, 0xF801), 76, 0x0003);
    std::fill_n(plugIn.begin() + kMeshData + 4, 4, std::uint8_t{0});  // a code nobody can type
    MeshSetup setup(plugIn);
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    QVERIFY(gameType(*form, 0)->isChecked() && gameType(*form, 11)->isChecked());
    QCOMPARE(fieldText(*form, "primaryWater"), QString());
    for (int bit = 0; bit < 12; ++bit)
        gameType(*form, bit)->setChecked(false);
    child<QRadioButton>(*form, "multi")->click();
    typeText(*form, "objectives", QStringLiteral("abcdefg"));
    typeText(*form, "mapGraphic", QString());
    typeText(*form, "lighting", QStringLiteral("ab"));
    typeText(*form, "description", QStringLiteral("Marsh"));
    typeText(*form, "mapName", QStringLiteral("mp"));
    clickStandard(*form, QDialogButtonBox::Ok);

    const Bytes saved = setup.onDisk();
    QCOMPARE(header16(saved, 78), std::uint16_t(0xF000));
    QCOMPARE(header16(saved, 76), std::uint16_t(0x0002));
    QVERIFY(headerBytes(saved, 164, 4) == (Bytes{'a', 'b', 'c', 'd'}));
    QVERIFY(headerBytes(saved, 0, 4) == Bytes(4, 0xFF));
    QVERIFY(headerBytes(saved, 4, 4) == Bytes(4, 0));  // untouched: kept as it was
    QVERIFY(headerBytes(saved, 68, 4) == (Bytes{'a', 'b', 0, 0}));
    QVERIFY(headerBytes(saved, 72, 4) == Bytes(4, 0xFF));
    Bytes name(32, 0);
    std::copy_n("Marsh", 5, name.begin());
    QVERIFY(Bytes(saved.begin(), saved.begin() + 32) == name);
    QVERIFY(Bytes(saved.begin() + 36, saved.begin() + 40) == (Bytes{'m', 'p', 0, 0}));
    // Everything behind the header went back as it was.
    QVERIFY(std::equal(saved.begin() + kMeshData + 1024, saved.end(), setup.original.begin() + kMeshData + 1024));
}

void MeshEditorTest::aNumberOutOfRangeKeepsTheFormOpenAndTheFileUnchanged()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    typeText(*form, "maxTeams", QStringLiteral("2147483648"));
    setup.prompter.clearRecord();
    clickStandard(*form, QDialogButtonBox::Ok);
    QCOMPARE(setup.prompter.shown().size(), std::size_t(2));
    QCOMPARE(setup.prompter.shown()[1].text,
             std::string("Please enter an integer between -2147483648 and 2147483647 for Max Teams."));
    QVERIFY(form->isVisible());
    typeText(*form, "maxTeams", QStringLiteral("-"));
    clickStandard(*form, QDialogButtonBox::Ok);
    QVERIFY(form->isVisible());
    setup.editor.reset();
    QVERIFY(setup.onDisk() == setup.original);
}

void MeshEditorTest::maxTeamsArrowsStepBetweenTwoAndTen()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    QWidget* arrows = child<QWidget>(*form, "maxTeamsSpin");
    auto* up = arrows->findChild<QAbstractButton*>(QStringLiteral("up"));
    auto* down = arrows->findChild<QAbstractButton*>(QStringLiteral("down"));
    down->click();
    QCOMPARE(fieldText(*form, "maxTeams"), QStringLiteral("2"));
    for (int i = 0; i < 12; ++i)
        up->click();
    QCOMPARE(fieldText(*form, "maxTeams"), QStringLiteral("10"));
    typeText(*form, "maxTeams", QStringLiteral("25"));  // typing may go past the arrows' range
    clickStandard(*form, QDialogButtonBox::Ok);
    QCOMPARE(readBigEndian32(setup.onDisk().data() + kMeshData + 84), 25u);
}

void MeshEditorTest::aCancelledChooserShowsNothing()
{
    MeshSetup setup;
    setup.prompter = ScriptedPrompter();
    QVERIFY(!setup.editor->start());
    QVERIFY(!setup.editor->form() && !setup.editor->model());
    QVERIFY(setup.prompter.shown().empty());
}

void MeshEditorTest::aMapThatDoesNotFitIsRefusedWithoutAForm()
{
    Bytes manyItems = meshPlugIn();
    writeBigEndian32(manyItems.data() + kMeshData + 52, 100000);  // far more items than the file holds
    Bytes gap = meshPlugIn();
    for (const std::size_t offset : {16, 40})  // the item types 16 bytes behind the cell grid
        writeBigEndian32(gap.data() + kMeshData + offset, readBigEndian32(gap.data() + kMeshData + offset) + 16);
    const struct {
        Bytes plugIn;
        std::string message;
    } cases[] = {
        {buildPlugIn({"A list", "stli", "stab", 0, Bytes(2000)}), "This Editor cannot currently edit stli type objects"},
        {manyItems, "ERROR - The map's item table length (448) is not 64 times its item count (100000)."},
        {gap, "ERROR - The map's item-type table does not follow its cell grid: 16 bytes lie between them."},
    };
    for (const auto& c : cases) {
        MeshSetup setup(c.plugIn);
        QVERIFY(setup.editor->start());
        QVERIFY(!setup.editor->form());
        QCOMPARE(setup.prompter.shown().size(), std::size_t(1));
        QCOMPARE(setup.prompter.shown()[0].text, c.message);
        QVERIFY(setup.onDisk() == c.plugIn);
        QVERIFY(opensAgain(setup.path));
    }

    MeshSetup setup;
    setup.prompter = ScriptedPrompter();
    setup.prompter.queueFile(setup.dir.file("local/mesh/missing"));
    QVERIFY(setup.editor->start());
    QVERIFY(!setup.editor->form());
    QVERIFY(setup.prompter.shown().back().icon == Prompter::Icon::Error);
}

void MeshEditorTest::viewItemsShowsOneItemEditorAtATime()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    click(*form, "viewItems");
    MeshItemsDialog* items = setup.editor->itemsForm();
    QVERIFY(items && items->isVisible());
    QCOMPARE(items->windowTitle(), QStringLiteral("mpaa - Tagwarden - MESH Item editor"));
    click(*form, "viewItems");
    QCOMPARE(setup.editor->itemsForm(), items);
    clickStandard(*items, QDialogButtonBox::Cancel);
    QVERIFY(!items->isVisible());
    click(*form, "viewItems");
    QVERIFY(setup.editor->itemsForm() && setup.editor->itemsForm()->isVisible());
}

void MeshEditorTest::destroyingTheEditorClosesItsFormsAndFile()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    click(*setup.editor->form(), "viewItems");
    QVERIFY(!opensAgain(setup.path));  // held without sharing while the editor lives
    QPointer<QWidget> form = setup.editor->form();
    QPointer<QWidget> items = setup.editor->itemsForm();
    setup.editor.reset();
    QVERIFY(form.isNull() && items.isNull());
    QVERIFY(opensAgain(setup.path));
}

void MeshEditorTest::everyControlIsNamedAfterItsLabelAndTheFormFits()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    QStringList expected{"Map Name",      "Description",     "Map (Graphic)",   "Post Screen",    "PreScreen",
                         "Overhead Map",  "Ambient Sound",   "Water Tag (Pri)", "Water Tag (Sec)", "Lighting",
                         "Particle Tag",  "Wind Effects",    "Map STLI",        "Objectives",     "Narration Text",
                         "Captions STLI", "Narration Sound", "Width",           "Height",         "Mesh Offset",
                         "Max Teams",     "Max Teams Up",    "Max Teams Down",  "Next Level",     "Single",
                         "Multi",         "None",            "View Mesh",       "View Scripting", "View Items",
                         "Item Map",      "OK",            "Cancel",         "Undo",           "Redo"};
    for (const char* game : kMeshGameTypeNames)
        expected << game;
    expected.sort();
    QCOMPARE(controlNames(*setup.editor->form()), expected);
    QVERIFY(QTest::qWaitForWindowExposed(setup.editor->form()));
    const QString problem = fitProblem(*setup.editor->form());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void MeshEditorTest::unsavedChangesAreWhatOkWouldWrite()
{
    using Edit = std::function<void(MeshEditorDialog&, MeshSession&)>;
    const auto type = [](const char* name, const QString& text) -> Edit {
        return [name, text](MeshEditorDialog& form, MeshSession&) { typeText(form, name, text); };
    };
    const auto then = [](Edit first, Edit second) -> Edit {
        return [first, second](MeshEditorDialog& form, MeshSession& session) {
            first(form, session);
            second(form, session);
        };
    };
    const Edit undo = [](MeshEditorDialog&, MeshSession& session) { session.stack().undo(); };
    const Edit deleteItem = [](MeshEditorDialog&, MeshSession& session) {
        session.stack().push(recordsDeleted(session.model(), nullptr, {&session.model().items().back()}));
    };
    const struct {
        const char* what;
        Edit edit;
        bool changed;
    } cases[] = {
        {"nothing", [](MeshEditorDialog&, MeshSession&) {}, false},
        {"map name", type("mapName", "mpzz"), true},
        {"description typed as it was", type("description", "Sample Map 1"), false},
        {"code", type("lighting", "lt9"), true},
        {"code typed, then undone in one step", then(type("lighting", "lt9"), undo), false},
        {"number", type("maxTeams", "3"), true},
        {"cleared number", type("maxTeams", {}), true},
        {"number out of range", type("maxTeams", "2147483648"), true},
        {"game type", [](MeshEditorDialog& form, MeshSession&) { gameType(form, 5)->click(); }, true},
        {"players", [](MeshEditorDialog& form, MeshSession&) { child<QRadioButton>(form, "multi")->click(); }, true},
        {"item type added",
         [](MeshEditorDialog&, MeshSession& session) { session.stack().push(itemTypeAdded(session.model(), {})); },
         true},
        {"item edited",
         [](MeshEditorDialog&, MeshSession& s) { s.stack().push(recordEdited(s.model().items().front(), {})); }, true},
        {"item deleted", deleteItem, true},
        {"item deleted, then undone", then(deleteItem, undo), false},
    };
    for (const auto& row : cases) {
        MeshSetup setup;
        QVERIFY(setup.editor->start());
        QCOMPARE(setup.editor->filePath(), setup.path);
        row.edit(*setup.editor->form(), *setup.editor->session());
        QVERIFY2(setup.editor->hasUnsavedChanges() == row.changed, row.what);
    }

    MeshSetup none;
    none.prompter = ScriptedPrompter();
    QVERIFY(!none.editor->start());
    QVERIFY(!none.editor->hasUnsavedChanges());
    QVERIFY(!none.editor->saveChanges());
    QCOMPARE(none.editor->filePath(), std::string());
}

void MeshEditorTest::saveChangesWritesWhatOkWritesWithoutAsking()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog* form = setup.editor->form();
    typeText(*form, "maxTeams", {});
    form->hide();
    setup.prompter.clearRecord();
    QVERIFY(!setup.editor->saveChanges());
    QVERIFY(form->isVisible());  // shown again on the refused field
    QCOMPARE(setup.prompter.shown().size(), std::size_t(1));  // no confirmation, only the range message
    QCOMPARE(setup.prompter.shown()[0].text,
             std::string("Please enter an integer between -2147483648 and 2147483647 for Max Teams."));
    QVERIFY(setup.onDisk() == setup.original);

    typeText(*form, "maxTeams", QStringLiteral("2"));
    typeText(*form, "lighting", QStringLiteral("lt9"));
    MeshModel& model = *setup.editor->model();
    setup.editor->session()->stack().push(recordsDeleted(model, nullptr, {&model.items().back()}));
    setup.prompter.clearRecord();
    QVERIFY(setup.editor->saveChanges());
    QCOMPARE(setup.prompter.shown().size(), std::size_t(2));  // where the backup went, then the success
    QCOMPARE(setup.prompter.shown()[1].text, std::string("Mesh File Successfully written!"));
    QVERIFY(form->isVisible());
    QVERIFY(!setup.editor->hasUnsavedChanges());
    const Bytes saved = setup.onDisk();
    QVERIFY(saved != setup.original);
    clickStandard(*form, QDialogButtonBox::Ok);  // the form's own save writes the same bytes
    QVERIFY(setup.onDisk() == saved);
}

// One step per field, whatever is typed into it; the modified mark follows the
// stack; Ctrl+S writes and keeps the form open.
void MeshEditorTest::undoRedoAndCtrlSFollowTheStackAndTheTitle()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog& form = *setup.editor->form();
    QUndoStack& stack = setup.editor->session()->stack();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));  // the keys are the window's shortcuts
    typeText(form, "lighting", QStringLiteral("lt9"));
    gameType(form, 5)->click();
    QCOMPARE(stack.count(), 2);
    QCOMPARE(form.windowTitle(), QStringLiteral("mpaa* - Tagwarden - MESH editor"));
    QTest::keyClick(child<QLineEdit>(form, "lighting"), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!gameType(form, 5)->isChecked());
    click(form, "undoButton");
    QCOMPARE(fieldText(form, "lighting"), QStringLiteral("lit1"));
    QCOMPARE(form.windowTitle(), QStringLiteral("mpaa - Tagwarden - MESH editor"));
    QTest::keyClick(&form, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(fieldText(form, "lighting"), QStringLiteral("lt9"));
    QVERIFY(gameType(form, 5)->isChecked() && setup.onDisk() == setup.original);

    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(setup.prompter.shown().back().text, std::string("Mesh File Successfully written!"));
    QVERIFY(form.isVisible() && !setup.editor->hasUnsavedChanges() && setup.onDisk() != setup.original);
    QCOMPARE(form.windowTitle(), QStringLiteral("mpaa - Tagwarden - MESH editor"));
}

// Cancel of either form puts the model back to the file, also after a save and
// an undo dropped the saved state from the stack; nothing is written.
void MeshEditorTest::cancelPutsFormsAndModelBackToTheFile()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog& form = *setup.editor->form();
    MeshModel& model = *setup.editor->model();
    typeText(form, "mapName", QStringLiteral("mpzz"));
    click(form, "viewItems");
    MeshItemsDialog& items = *setup.editor->itemsForm();
    setup.editor->session()->stack().push(recordsDeleted(model, nullptr, {&model.items().front()}));
    typeText(form, "maxTeams", QStringLiteral("-"));
    clickStandard(items, QDialogButtonBox::Cancel);
    QVERIFY(!items.isVisible() && form.isVisible() && !setup.editor->hasUnsavedChanges());
    QCOMPARE(model.items().size(), std::size_t(7));
    QCOMPARE(fieldText(form, "mapName") + fieldText(form, "maxTeams"), QStringLiteral("mpaa2"));

    typeText(form, "lighting", QStringLiteral("lt9"));
    QVERIFY(setup.editor->saveChanges());
    const Bytes saved = setup.onDisk();
    setup.editor->session()->stack().undo();  // back before the save, then a new step
    typeText(form, "mapName", QStringLiteral("mpzz"));
    click(form, "viewItems");
    form.close();
    QVERIFY(!form.isVisible() && !items.isVisible() && !setup.editor->hasUnsavedChanges());
    QVERIFY(!model.writeChanges(model.headers().tag, model.headers().map));
    QCOMPARE(fieldText(form, "lighting") + fieldText(form, "mapName"), QStringLiteral("lt9mpaa"));
    setup.editor.reset();
    QVERIFY(setup.onDisk() == saved);
}

// A record form of the item editor runs its own event loop: the map form's
// Cancel, OK and Undo wait for it, so its record stays in the model.
void MeshEditorTest::nothingClosesOrUndoesWhileARecordFormRuns()
{
    MeshSetup setup;
    QVERIFY(setup.editor->start());
    MeshEditorDialog& form = *setup.editor->form();
    click(form, "viewItems");
    bool held = false;
    whenModalShows("itemTypeDialog", [&](QDialog& record) {
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
        clickStandard(form, QDialogButtonBox::Cancel);
        clickStandard(form, QDialogButtonBox::Ok);
        held = form.isVisible() && setup.editor->model()->itemTypes().size() == 6 && setup.prompter.shown().empty();
        typeText(record, "itemId", QStringLiteral("zz01"));
        clickStandard(record, QDialogButtonBox::Ok);
    });
    setup.prompter.clearRecord();
    click(*setup.editor->itemsForm(), "typeAdd");
    QVERIFY(held);
    QCOMPARE(setup.editor->session()->stack().count(), 2);  // the added type, then its form's OK
    QCOMPARE(setup.editor->model()->itemTypes().back().code(), (Code{'z', 'z', '0', '1'}));
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::MeshEditorTest)
#include "mesh_editor_test.moc"
