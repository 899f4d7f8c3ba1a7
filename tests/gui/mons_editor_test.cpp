// The unit editor driven as a user would: choose a plug-in, edit the form, save,
// and compare the file byte for byte with what the edit must give.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>
#include <functional>
#include <map>

#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/prompt/scripted_prompter.h"
#include "core/sample/sample_tags.h"
#include "core/settings/settings_store.h"
#include "gui/editors/mons_editor.h"
#include "gui/editors/mons_editor_dialog.h"
#include "gui/editors/stli_editor.h"
#include "gui/editors/wrapping_spin_box.h"
#include "gui/support/gui_test_support.h"
#include "form_checks.h"
#include "support/temp_dir.h"

namespace tagwarden {

using test::child;
using test::readAll;

namespace {

constexpr std::size_t kData = 64;  // where the data block starts in a plug-in

// A tags directory with one mons plug-in, and an editor whose chooser picks it.
struct MonsSetup {
    explicit MonsSetup(const Bytes& plugIn, const std::string& fileName = "msab")
    {
        settings.writeString(settings::kSection, settings::kTagsDirectory, dir.path().string());
        settings.writeString(settings::kSection, settings::kBackupDirectory, dir.file("Backup"));
        path = dir.write("local/mons/" + fileName, plugIn);
        original = plugIn;
        prompter.queueFile(path);
    }

    // Starts the editor; the form, or nullptr when none opened.
    MonsEditorDialog* start()
    {
        started = editor->start();
        return editor->form();
    }

    test::TempDir dir;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::map<std::string, std::string> ids;
    std::unique_ptr<MonsEditor> editor =
        std::make_unique<MonsEditor>(settings, prompter, [this](const std::string& type) { return ids[type]; });
    std::string path;
    Bytes original;
    bool started = false;
};

Bytes monsPlugIn(Bytes block, const std::string& name = "Ashen Warden", const std::string& id = "msab")
{
    return buildPlugIn({name, "mons", id, 0, std::move(block)});
}

WrappingSpinBox* spin(QWidget& form, const char* name) { return child<WrappingSpinBox>(form, name); }
QComboBox* combo(QWidget& form, const char* name) { return child<QComboBox>(form, name); }

// Types `text` over the number of a spin box; an empty text clears it.
void typeInto(QWidget& form, const char* spinName, const QString& text)
{
    QLineEdit* edit = spin(form, spinName)->findChild<QLineEdit*>();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void setCode(QWidget& form, const char* name, const QString& text)
{
    QLineEdit* edit = combo(form, name)->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void clickSave(QWidget& form) { QTest::mouseClick(child<QPushButton>(form, "saveButton"), Qt::LeftButton); }

QStringList items(const QComboBox& box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list << box.itemText(i);
    return list;
}

}  // namespace

class MonsEditorTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheSampleUnitInTheForm();
    void savedFileHoldsExactlyTheEditedBytes();
    void savingWithoutChangesWritesBackTheSameBytes();
    void codeListsOfferTheIdsOfTheirTypeSorted();
    void rangeCheckFailureStopsTheSave();
    void spinButtonsWrapAndRecoverTimesStayAsRead();
    void healChoiceIsShownButNeverSaved();
    void otherDataLengthIsViewedButNotSaved();
    void refusedFilesOpenNoFormAndStayUntouched();
    void cancelledChooserAnswersFalse();
    void aPlugInHeldElsewhereCannotBeOpened();
    void okHidesAndDestroyingTheEditorClosesEverything();
    void everyControlIsNamedAfterItsLabel();
    void unsavedChangesAreWhatASaveWouldWrite();
    void saveChangesWritesWhatSaveChangesWrites();
    void noFormHoldsNoChanges();
    void codeListsStoreWhatIsTyped();
    void aClearedNumberStaysClearedAndIsRefused();
    void theFormFitsTheScreen();
};

void MonsEditorTest::showsTheSampleUnitInTheForm()
{
    Bytes block = sampleMonsBlock(6);  // seed 6: turn to stone, kills
    block[72] = 0x01;
    block[73] = 0xFF;
    MonsSetup setup(monsPlugIn(block));
    MonsEditorDialog* form = setup.start();
    QVERIFY(setup.started);
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QVERIFY(!form->isModal());
    QCOMPARE(form->windowTitle(), QStringLiteral("msab - Tagwarden - MONS editor"));
    QCOMPARE(setup.prompter.fileRequests().at(0).initialName, setup.dir.path().string() + "/local/mons/");

    QCOMPARE(child<QLineEdit>(*form, "shortName")->text(), QStringLiteral("msab"));
    QCOMPARE(child<QLineEdit>(*form, "description")->text(), QStringLiteral("Ashen Warden"));
    QCOMPARE(child<QLineEdit>(*form, "dataLength")->text(), QStringLiteral("512"));
    QCOMPARE(spin(*form, "turnRate")->value(), int{block[137]});
    QCOMPARE(spin(*form, "walkRate")->value(), int{block[139]});
    QCOMPARE(spin(*form, "ammo")->value(), int{block[129]});
    QCOMPARE(spin(*form, "health")->value(), int{block[296]});
    QCOMPARE(spin(*form, "spriteScale")->value(), block[280] * 256 + block[281]);
    QCOMPARE(spin(*form, "primaryMaxRange")->value(), int{block[162]});
    QCOMPARE(spin(*form, "primaryRecoverTime")->value(), int{block[177]});
    QVERIFY(child<QCheckBox>(*form, "turnToStone")->isChecked());
    QVERIFY(child<QRadioButton>(*form, "killsCreature")->isChecked());
    QVERIFY(child<QCheckBox>(*form, "shallow")->isChecked());  // 0x01 counts as allowed
    QVERIFY(!child<QCheckBox>(*form, "medium")->isChecked());
    QCOMPARE(combo(*form, "coreCode")->currentText(), QString::fromLatin1(reinterpret_cast<const char*>(&block[4]), 4));
    QCOMPARE(combo(*form, "primaryAttackDefn")->currentText(), QString::asprintf("%02X", block[154]));
    QCOMPARE(combo(*form, "primaryBallistics")->currentText(),
             QString::asprintf("%02X %02X %02X", block[169], block[170], block[171]));
    QVERIFY(!combo(*form, "primaryBallistics")->isEnabled());
    QVERIFY(!combo(*form, "primaryAttackDefn")->isEnabled());
    QVERIFY(combo(*form, "secondaryAttackDefn")->isEnabled());
    QVERIFY(setup.prompter.shown().empty());
}

void MonsEditorTest::savedFileHoldsExactlyTheEditedBytes()
{
    Bytes block = sampleMonsBlock(4);
    block[2] = 5;
    block[72] = 0x0A;
    block[85] = 0xFF;
    std::memcpy(block.data() + 4, "core", 4);
    // A plug-in longer than its tag: the bytes behind the data must stay.
    Bytes plugIn = monsPlugIn(block, "Old Name That Is Long", "msab");
    const Bytes tail{0xDE, 0xAD, 0xBE, 0xEF};
    plugIn.insert(plugIn.end(), tail.begin(), tail.end());
    MonsSetup setup(plugIn);
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);

    QLineEdit* name = child<QLineEdit>(*form, "shortName");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("ab"));
    QLineEdit* description = child<QLineEdit>(*form, "description");
    description->selectAll();
    QTest::keyClicks(description, QStringLiteral("New"));
    typeInto(*form, "turnRate", QStringLiteral("77"));
    typeInto(*form, "spriteScale", QStringLiteral("300"));
    typeInto(*form, "health", QStringLiteral("250"));
    typeInto(*form, "secondaryMaxRange", QStringLiteral("9"));
    child<QCheckBox>(*form, "shallow")->setChecked(false);
    child<QCheckBox>(*form, "fly")->setChecked(true);
    child<QCheckBox>(*form, "turnToStone")->setChecked(true);
    setCode(*form, "coreCode", QStringLiteral("zz"));
    setCode(*form, "prgrCode", QStringLiteral("pgzz"));
    clickSave(*form);

    Bytes expected = plugIn;
    std::memset(expected.data(), 0, 32);
    std::memcpy(expected.data(), "New", 3);
    std::memcpy(expected.data() + 36, "ab\0\0", 4);
    expected[kData + 2] = 19;
    expected[kData + 137] = 77;
    expected[kData + 280] = 0x01;
    expected[kData + 281] = 0x2C;
    expected[kData + 296] = 250;
    expected[kData + 194] = 9;
    expected[kData + 72] = 0xFF;
    expected[kData + 85] = 0x0A;
    std::memcpy(expected.data() + kData + 4, "zz\0\0", 4);  // an edited code is padded, not mixed with the old
    std::memcpy(expected.data() + kData + 292, "pgzz", 4);
    QCOMPARE(readAll(setup.path), expected);
    // The first save kept the plug-in as it was, at its path below the tags directory, and said where.
    const std::string backup = setup.dir.file("Backup/local/mons/msab");
    QCOMPARE(readAll(backup), plugIn);
    QCOMPARE(setup.prompter.shown().size(), std::size_t{1});
    QCOMPARE(setup.prompter.shown()[0].text, "The file as it was before this save is backed up as:\n" + backup);
    QVERIFY(form->isVisible());  // saving keeps the form open

    // Unchecking the stone box afterwards writes 0, although byte 2 was 5 when read.
    child<QCheckBox>(*form, "turnToStone")->setChecked(false);
    clickSave(*form);
    QCOMPARE(readAll(setup.path)[kData + 2], std::uint8_t{5});
}

void MonsEditorTest::savingWithoutChangesWritesBackTheSameBytes()
{
    Bytes block = sampleMonsBlock(1);
    std::memcpy(block.data() + 4, "c\0\x7F\x01", 4);       // a code with a zero byte in it
    std::memcpy(block.data() + 144, "\xE9\x80\xFF\xA0", 4);  // high bytes in a code
    block[2] = 19;
    MonsSetup setup(monsPlugIn(block, "Caf\xE9 \xA0\xFF\x80 unit", "\xE9t\xFF\x80"));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    QCOMPARE(combo(*form, "coreCode")->currentText(), QStringLiteral("c"));
    clickSave(*form);
    QCOMPARE(readAll(setup.path), setup.original);
    clickSave(*form);  // and again: the decoded mode byte is never refreshed
    QCOMPARE(readAll(setup.path), setup.original);
}

void MonsEditorTest::codeListsOfferTheIdsOfTheirTypeSorted()
{
    Bytes block = sampleMonsBlock(2);
    std::memcpy(block.data() + 156, "pjab", 4);
    std::memcpy(block.data() + 188, "pjzz", 4);
    MonsSetup setup(monsPlugIn(block));
    setup.ids["proj"] = "PJacpjabpjaa";
    setup.ids["core"] = "cor";  // not whole ids: only the current value
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    QComboBox* primary = combo(*form, "primaryProjCode");
    QCOMPARE(items(*primary), (QStringList{"pjaa", "pjab", "PJac"}));
    QCOMPARE(primary->currentText(), QStringLiteral("pjab"));
    QCOMPARE(items(*combo(*form, "secondaryProjCode")), (QStringList{"pjaa", "pjab", "PJac", "pjzz"}));
    QCOMPARE(combo(*form, "secondaryProjCode")->currentText(), QStringLiteral("pjzz"));
    QCOMPARE(combo(*form, "coreCode")->count(), 1);
    QCOMPARE(combo(*form, "prgrCode")->count(), 1);  // no ids of that type
    QCOMPARE(combo(*form, "secondaryBallistics")->count(), 1);

    primary->setCurrentIndex(0);
    clickSave(*form);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(readAll(setup.path).data()) + kData + 156, 4),
             QByteArray("pjaa"));
}

void MonsEditorTest::rangeCheckFailureStopsTheSave()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(5)));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    typeInto(*form, "health", QStringLiteral("9"));
    typeInto(*form, "turnRate", QStringLiteral("0"));
    clickSave(*form);
    QCOMPARE(setup.prompter.shown().size(), std::size_t{1});
    QCOMPARE(setup.prompter.shown().back().text,
             std::string("Please enter an integer between 1 and 255 for Turn Rate."));
    QCOMPARE(readAll(setup.path), setup.original);  // the health typed before is not written either

    // Walk Rate may be 0, Sprite Scale may be typed beyond its spin range.
    typeInto(*form, "turnRate", QStringLiteral("1"));
    typeInto(*form, "walkRate", QStringLiteral("0"));
    typeInto(*form, "spriteScale", QStringLiteral("65535"));
    clickSave(*form);
    QCOMPARE(setup.prompter.shown().size(), std::size_t{2});  // and the backup notice
    const Bytes saved = readAll(setup.path);
    QCOMPARE(saved[kData + 139], std::uint8_t{0});
    QCOMPARE(saved[kData + 280], std::uint8_t{0xFF});
    QCOMPARE(saved[kData + 281], std::uint8_t{0xFF});
    QCOMPARE(saved[kData + 296], std::uint8_t{9});
}

void MonsEditorTest::spinButtonsWrapAndRecoverTimesStayAsRead()
{
    Bytes block = sampleMonsBlock(6);
    block[137] = 255;
    block[177] = 40;
    MonsSetup setup(monsPlugIn(block));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);

    WrappingSpinBox* turn = spin(*form, "turnRate");
    turn->stepUp();
    QCOMPARE(turn->value(), 1);
    turn->stepDown();
    QCOMPARE(turn->value(), 255);
    WrappingSpinBox* scale = spin(*form, "spriteScale");
    scale->setValue(500);
    scale->stepUp();
    QCOMPARE(scale->value(), 1);
    scale->stepDown();
    QCOMPARE(scale->value(), 500);
    WrappingSpinBox* ammo = spin(*form, "ammo");
    ammo->setValue(0);
    ammo->stepDown();
    QCOMPARE(ammo->value(), 255);
    scale->setFocus();
    QTest::keyClick(scale, Qt::Key_Up);  // the arrow keys step too
    QCOMPARE(scale->value(), 1);
    typeInto(*form, "spriteScale", QStringLiteral("+-a 4x2"));  // digits only
    QCOMPARE(scale->text(), QStringLiteral("42"));

    // Saved as read whatever they show, the recover times cannot be changed.
    WrappingSpinBox* recover = spin(*form, "primaryRecoverTime");
    QVERIFY(!recover->isEnabled());
    QTest::keyClick(recover, Qt::Key_Up);
    QTest::mouseClick(recover, Qt::LeftButton, {}, recover->rect().topRight() + QPoint(-4, 4));  // the up arrow
    QCOMPARE(recover->text(), QStringLiteral("40"));
    clickSave(*form);
    QCOMPARE(readAll(setup.path)[kData + 177], std::uint8_t{40});
}

void MonsEditorTest::healChoiceIsShownButNeverSaved()
{
    Bytes block = sampleMonsBlock(7);
    block[127] = 0xCC;
    MonsSetup setup(monsPlugIn(block));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    auto* kills = child<QRadioButton>(*form, "killsCreature");
    QVERIFY(child<QRadioButton>(*form, "healsCreature")->isChecked());
    QVERIFY(!kills->isChecked());
    QVERIFY(!kills->isEnabled());  // shown, but it cannot promise a change
    QTest::mouseClick(kills, Qt::LeftButton);
    QVERIFY(!kills->isChecked());
    clickSave(*form);
    QCOMPARE(readAll(setup.path), setup.original);
}

void MonsEditorTest::otherDataLengthIsViewedButNotSaved()
{
    const Bytes block = sampleMonsBlock(8);
    Bytes plugIn = monsPlugIn(block);
    writeBigEndian32(plugIn.data() + 52, 600);
    plugIn.resize(64 + 600, 0x11);
    MonsSetup setup(plugIn);
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    QCOMPARE(child<QLineEdit>(*form, "dataLength")->text(), QStringLiteral("600"));
    typeInto(*form, "turnRate", QStringLiteral("3"));
    clickSave(*form);
    QCOMPARE(setup.prompter.shown().back().text, std::string("ERROR - Length is not same as Header data"));
    QCOMPARE(readAll(setup.path), setup.original);
}

void MonsEditorTest::refusedFilesOpenNoFormAndStayUntouched()
{
    {
        MonsSetup setup(buildPlugIn({"A list", "stli", "stab", 0, sampleStliData({"x"})}));
        QVERIFY(!setup.start());
        QVERIFY(setup.started);
        QCOMPARE(setup.prompter.shown().back().text, std::string("This Editor cannot currently edit stli type objects"));
        QCOMPARE(readAll(setup.path), setup.original);
    }
    {
        Bytes plugIn = monsPlugIn(sampleMonsBlock(9));
        plugIn.resize(575);
        MonsSetup setup(plugIn);
        QVERIFY(!setup.start());
        QVERIFY(setup.started);
        QCOMPARE(setup.prompter.shown().back().text,
                 "The file \"" + setup.path +
                     "\" is too short to edit: it holds 575 bytes, but needs 576 for the 64-byte tag header and 512 "
                     "bytes of data. The file was left unchanged.");
        QCOMPARE(readAll(setup.path), setup.original);
        QVERIFY(!setup.editor->fileOpen());
    }
}

void MonsEditorTest::cancelledChooserAnswersFalse()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(0)));
    setup.prompter = ScriptedPrompter{};  // nothing queued: the chooser is cancelled
    QVERIFY(!setup.start());
    QVERIFY(!setup.started);
    QVERIFY(!setup.editor->fileOpen());
    QVERIFY(setup.prompter.shown().empty());
}

void MonsEditorTest::aPlugInHeldElsewhereCannotBeOpened()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(10)));
    const std::string sharing = FileError(FileErrorCause::SharingViolation, setup.path).what();
    {
        File mainWindow(setup.path, File::Access::Read, File::Share::None);
        QVERIFY(!setup.start());
        QVERIFY(setup.started);
        QCOMPARE(setup.prompter.shown().back().text, sharing);
    }
    StliEditor other(setup.settings, setup.prompter);
    setup.prompter.queueFile(setup.path);
    QVERIFY(other.start());  // a mons file: refused by type, and released again
    setup.prompter.queueFile(setup.path);
    QVERIFY(setup.start());  // now free
    setup.prompter.queueFile(setup.path);
    StliEditor late(setup.settings, setup.prompter);
    QVERIFY(late.start());
    QCOMPARE(setup.prompter.shown().back().text, sharing);
    QVERIFY(!late.form());
}

void MonsEditorTest::okHidesAndDestroyingTheEditorClosesEverything()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(11)));
    QPointer<MonsEditorDialog> form = setup.start();
    QVERIFY(form);
    const MonsEditor::Values saved = setup.editor->values();
    const auto ok = [&form] { QTest::mouseClick(child<QPushButton>(*form, "okButton"), Qt::LeftButton); };

    typeInto(*form, "health", QStringLiteral("0"));
    setup.prompter.queueAnswer(Prompter::Answer::Save);  // OK asks first; the save is refused by the range check
    ok();
    QVERIFY(form->isVisible());
    QCOMPARE(setup.prompter.shown().back().text, std::string("Please enter an integer between 1 and 255 for Health (hp)."));
    typeInto(*form, "health", QStringLiteral("12"));
    setup.prompter.queueAnswer(Prompter::Answer::Discard);
    ok();
    QVERIFY(!form->isVisible());
    QVERIFY(setup.editor->values() == saved);  // discarded, not kept out of sight
    QCOMPARE(spin(*form, "health")->value(), saved.block.health);

    // Undo and redo step through the values; back at the file's, the title loses its mark.
    form->show();
    typeInto(*form, "health", QStringLiteral("50"));
    child<QCheckBox>(*form, "sand")->click();
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("msab* - ")));
    QCOMPARE(setup.editor->undoStack().count(), 2);  // typing in one field is one step
    setup.editor->undoStack().undo();
    setup.editor->undoStack().undo();
    QVERIFY(setup.editor->values() == saved);
    QVERIFY(!setup.editor->hasUnsavedChanges());
    QCOMPARE(form->windowTitle(), QStringLiteral("msab - Tagwarden - MONS editor"));
    setup.editor->undoStack().redo();
    QCOMPARE(spin(*form, "health")->value(), 50);
    form->close();  // the close box discards too
    QVERIFY(!form->isVisible());
    QVERIFY(setup.editor->values() == saved);
    QVERIFY(!setup.editor->undoStack().canUndo());

    form->show();
    ok();  // nothing to save: hides without a question
    QVERIFY(!form->isVisible());
    QCOMPARE(readAll(setup.path), setup.original);

    setup.editor.reset();
    QVERIFY(form.isNull());
    File exclusive(setup.path, File::Access::ReadWrite, File::Share::None);  // no longer held
    QVERIFY(exclusive.isOpen());
}

void MonsEditorTest::everyControlIsNamedAfterItsLabel()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(12)));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    QStringList expected{"Name", "Description", "Data Length", "OK", "Save Changes", "Undo", "Redo", "Turn Rate", "Walk Rate",
                         "Health (hp)", "Ammo/Items", "Sprite Scale", "Heals Creature", "Kills Creature",
                         "Turn To Stone on Low HP", "CORE Code", "*BAOB Code", "PRGR Code"};
    for (const char* terrain : {"Shallow", "Medium", "Deep", "Any/Submerge", "Sloped", "Steep", "Mountains/Hover",
                                "Fly (even off map)", "Grass", "Sand", "Rocky", "Marsh", "Snow", "Forrest"})
        expected << terrain;
    for (const char* side : {"Primary ", "Secondary "})
        for (const char* field : {"Recover Time", "PROJ Code", "Min Range", "Max Range", "Ballistics", "Attack Defn"})
            expected << QString::fromLatin1(side) + field;
    expected.sort();
    QCOMPARE(test::controlNames(*form), expected);
}

void MonsEditorTest::unsavedChangesAreWhatASaveWouldWrite()
{
    using Edit = std::function<void(QWidget&)>;
    const auto edit = [](const char* name, const QString& text) -> Edit {
        return [name, text](QWidget& form) {
            QLineEdit* field = child<QLineEdit>(form, name);
            field->selectAll();
            QTest::keyClicks(field, text);
        };
    };
    const auto number = [](const char* name, const QString& text) -> Edit {
        return [name, text](QWidget& form) { typeInto(form, name, text); };
    };
    const auto toggle = [](const char* name, int times) -> Edit {
        return [name, times](QWidget& form) {
            for (int i = 0; i < times; ++i)
                child<QCheckBox>(form, name)->click();
        };
    };
    const struct {
        const char* what;
        Edit edit;
        bool changed;
    } cases[] = {
        {"nothing", [](QWidget&) {}, false},
        {"id", edit("shortName", "mszz"), true},
        {"name", edit("description", "Renamed"), true},
        {"name typed as it was", edit("description", "Ashen Warden"), false},
        {"number", number("turnRate", "77"), true},
        {"cleared number", [](QWidget& form) { typeInto(form, "health", {}); }, true},
        {"number out of range", number("turnRate", "0"), true},
        {"terrain", toggle("sand", 1), true},
        {"terrain and back", toggle("sand", 2), false},
        {"stone", toggle("turnToStone", 1), true},
        {"code", [](QWidget& form) { setCode(form, "coreCode", QStringLiteral("zz")); }, true},
    };
    for (const auto& row : cases) {
        MonsSetup setup(monsPlugIn(sampleMonsBlock(13)));
        MonsEditorDialog* form = setup.start();
        QVERIFY(form);
        QCOMPARE(setup.editor->filePath(), setup.path);
        row.edit(*form);
        QVERIFY2(setup.editor->hasUnsavedChanges() == row.changed, row.what);
    }
}

void MonsEditorTest::saveChangesWritesWhatSaveChangesWrites()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(14)));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    typeInto(*form, "health", {});
    form->hide();
    QVERIFY(!setup.editor->saveChanges());  // refused, with the field's range message, on the form shown again
    QCOMPARE(setup.prompter.shown().back().text, std::string("Please enter an integer between 1 and 255 for Health (hp)."));
    QVERIFY(form->isVisible());
    QCOMPARE(spin(*form, "health")->text(), QString());
    QCOMPARE(readAll(setup.path), setup.original);
    QVERIFY(setup.editor->hasUnsavedChanges());

    typeInto(*form, "health", QStringLiteral("99"));
    child<QCheckBox>(*form, "snow")->click();
    QVERIFY(setup.editor->saveChanges());
    QVERIFY(!setup.editor->hasUnsavedChanges());
    const Bytes saved = readAll(setup.path);
    QCOMPARE(saved[kData + 296], std::uint8_t{99});
    clickSave(*form);  // the form's own save writes the same bytes
    QCOMPARE(readAll(setup.path), saved);
}

void MonsEditorTest::noFormHoldsNoChanges()
{
    MonsSetup cancelled(monsPlugIn(sampleMonsBlock(15)));
    cancelled.prompter = ScriptedPrompter{};
    MonsSetup refused(buildPlugIn({"A list", "stli", "stab", 0, sampleStliData({"x"})}));
    for (MonsSetup* setup : {&cancelled, &refused}) {
        QVERIFY(!setup->start());
        QVERIFY(!setup->editor->hasUnsavedChanges());
        QVERIFY(!setup->editor->saveChanges());
        QCOMPARE(setup->editor->filePath(), std::string());
    }
}

void MonsEditorTest::codeListsStoreWhatIsTyped()
{
    Bytes block = sampleMonsBlock(16);
    std::memcpy(block.data() + 156, "abcd", 4);
    std::memcpy(block.data() + 188, "abcd", 4);
    MonsSetup setup(monsPlugIn(block));
    setup.ids["proj"] = "pjaapjabPJac";
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QComboBox* primary = combo(*form, "primaryProjCode");
    QComboBox* secondary = combo(*form, "secondaryProjCode");
    primary->setFocus();
    setCode(*form, "primaryProjCode", QStringLiteral("pj"));
    QTest::keyClick(primary->lineEdit(), Qt::Key_Tab);  // the focus leaves
    secondary->setFocus();
    setCode(*form, "secondaryProjCode", QStringLiteral("pjac"));  // listed only as "PJac"
    QTest::keyClick(secondary->lineEdit(), Qt::Key_Return);
    QCOMPARE(primary->currentText(), QStringLiteral("pj"));
    QCOMPARE(secondary->currentText(), QStringLiteral("pjac"));
    clickSave(*form);
    const Bytes saved = readAll(setup.path);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(saved.data()) + kData + 156, 4), QByteArray("pj\0\0", 4));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(saved.data()) + kData + 188, 4), QByteArray("pjac"));
}

void MonsEditorTest::aClearedNumberStaysClearedAndIsRefused()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(17)));
    QPointer<MonsEditorDialog> form = setup.start();
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    WrappingSpinBox* health = spin(*form, "health");
    health->setFocus();
    typeInto(*form, "health", {});
    QTest::keyClick(health, Qt::Key_Tab);  // leaving the field keeps it cleared
    QVERIFY(!health->hasFocus());
    QCOMPARE(health->text(), QString());

    const std::string message = "Please enter an integer between 1 and 255 for Health (hp).";
    clickSave(*form);
    QCOMPARE(setup.prompter.shown().back().text, message);
    QVERIFY(health->hasFocus());
    QCOMPARE(readAll(setup.path), setup.original);

    setup.prompter.clearRecord();
    QTest::keyClick(health, Qt::Key_Return);  // Enter in a field never closes the form
    QVERIFY(setup.prompter.shown().empty());
    QVERIFY(form->isVisible());
    QCOMPARE(health->text(), QString());
}

void MonsEditorTest::theFormFitsTheScreen()
{
    MonsSetup setup(monsPlugIn(sampleMonsBlock(18)));
    MonsEditorDialog* form = setup.start();
    QVERIFY(form);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const QString problem = test::fitProblem(*form);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::MonsEditorTest)
#include "mons_editor_test.moc"
