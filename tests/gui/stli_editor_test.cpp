// The string-list editor driven as a user would: choose a plug-in, type, paste,
// press OK or Cancel, and compare the file byte for byte with what it must hold.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <functional>

#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/prompt/scripted_prompter.h"
#include "core/sample/sample_tags.h"
#include "core/settings/settings_store.h"
#include "gui/editors/mons_editor.h"
#include "gui/editors/stli_editor.h"
#include "gui/editors/stli_editor_dialog.h"
#include "gui/support/gui_test_support.h"
#include "form_checks.h"
#include "support/temp_dir.h"

namespace tagwarden {

using test::child;
using test::readAll;

namespace {

// A tags directory with one stli plug-in, and an editor whose chooser picks it.
struct StliSetup {
    explicit StliSetup(const Bytes& plugIn)
    {
        settings.writeString(settings::kSection, settings::kTagsDirectory, dir.path().string());
        settings.writeString(settings::kSection, settings::kBackupDirectory, dir.file("Backup"));
        path = dir.write("local/stli/stab", plugIn);
        original = plugIn;
        prompter.queueFile(path);
    }

    // Starts the editor; the form, or nullptr when none opened.
    StliEditorDialog* start()
    {
        started = editor->start();
        return editor->form();
    }

    test::TempDir dir;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<StliEditor> editor = std::make_unique<StliEditor>(settings, prompter);
    std::string path;
    Bytes original;
    bool started = false;
};

Bytes stliPlugIn(const Bytes& data, const std::string& name = "Sample captions", const std::string& id = "stab")
{
    return buildPlugIn({name, "stli", id, 0, data});
}

Bytes bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

// The file a save must leave: the old file with a new header name, id and length
// and the new data from offset 64 (old bytes behind it stay).
Bytes expectedFile(Bytes old, const std::string& name, const std::string& id, const Bytes& data)
{
    std::memset(old.data(), 0, 32);
    std::memcpy(old.data(), name.data(), name.size());
    std::memset(old.data() + 36, 0, 4);
    std::memcpy(old.data() + 36, id.data(), id.size());
    writeBigEndian32(old.data() + 52, static_cast<std::uint32_t>(data.size()));
    if (old.size() < 64 + data.size())
        old.resize(64 + data.size());
    std::copy(data.begin(), data.end(), old.begin() + 64);
    return old;
}

QPlainTextEdit* textView(QWidget& form) { return child<QPlainTextEdit>(form, "textView"); }
QPlainTextEdit* hexView(QWidget& form) { return child<QPlainTextEdit>(form, "hexView"); }
QString lengthText(QWidget& form) { return child<QLineEdit>(form, "length")->text(); }

// Puts the caret of the text view at `position` (from the start of its text).
void placeCaret(QWidget& form, int position)
{
    QTextCursor cursor = textView(form)->textCursor();
    cursor.setPosition(position);
    textView(form)->setTextCursor(cursor);
    textView(form)->setFocus();
}

void click(QWidget& form, const char* button) { QTest::mouseClick(child<QPushButton>(form, button), Qt::LeftButton); }

}  // namespace

class StliEditorTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheListAsTextAndHex();
    void typingRebuildsBothViewsAndOkSavesTheText();
    void okWithoutTouchingTheTextWritesTheDataAsRead();
    void everyByteButZeroAndLineFeedSurvivesAnEdit();
    void enterStoresOneCarriageReturnAndPastedLineFeedsAreDropped();
    void shorterTextKeepsTheOldTailBehindIt();
    void emptyDataOpensAnEmptyForm();
    void cancelHidesWithoutWriting();
    void failedWriteSaysWriteFailedAndKeepsTheFormOpen();
    void hexViewScrollsWithTheTextView();
    void refusedFilesOpenNoForm();
    void unsavedChangesAreWhatOkWouldWrite();
    void saveChangesWritesWhatOkWrites();
    void anEditThatDropsBytesIsAnnouncedAndAsksBeforeSaving();
};

void StliEditorTest::showsTheListAsTextAndHex()
{
    StliSetup setup(stliPlugIn({0x41, 0x42, 0x0D, 0x43}));
    StliEditorDialog* form = setup.start();
    QVERIFY(setup.started);
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QVERIFY(!form->isModal());
    QCOMPARE(form->windowTitle(), QStringLiteral("stab - Tagwarden - STLI Editor"));
    QCOMPARE(setup.prompter.fileRequests().at(0).initialName, setup.dir.path().string() + "/local/stli/");
    QCOMPARE(child<QLineEdit>(*form, "shortName")->text(), QStringLiteral("stab"));
    QCOMPARE(child<QLineEdit>(*form, "description")->text(), QStringLiteral("Sample captions"));
    QCOMPARE(lengthText(*form), QStringLiteral("4"));
    QCOMPARE(textView(*form)->toPlainText(), QStringLiteral("AB\nC"));
    QCOMPARE(hexView(*form)->toPlainText(), QStringLiteral("41 42 0D\n43 "));
    QVERIFY(hexView(*form)->isReadOnly());
    QCOMPARE(textView(*form)->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(hexView(*form)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void StliEditorTest::typingRebuildsBothViewsAndOkSavesTheText()
{
    StliSetup setup(stliPlugIn({0x41, 0x42, 0x0D, 0x43}, "Old description", "stab"));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    placeCaret(*form, 4);
    QTest::keyClicks(textView(*form), QStringLiteral("D"));
    QCOMPARE(textView(*form)->toPlainText(), QStringLiteral("AB\nCD"));
    QCOMPARE(hexView(*form)->toPlainText(), QStringLiteral("41 42 0D \n43 44 "));
    QCOMPARE(lengthText(*form), QStringLiteral("5"));
    QCOMPARE(textView(*form)->textCursor().position(), 5);

    QLineEdit* id = child<QLineEdit>(*form, "shortName");
    id->selectAll();
    QTest::keyClicks(id, QStringLiteral("newid"));  // at most 4 characters
    QCOMPARE(id->text(), QStringLiteral("newi"));
    click(*form, "okButton");
    QVERIFY(!form->isVisible());
    QCOMPARE(readAll(setup.path), expectedFile(setup.original, "Old description", "newi", bytesOf("AB\rCD")));
    QCOMPARE(setup.prompter.shown().size(), std::size_t{1});  // where the backup went
    QCOMPARE(readAll(setup.dir.file("Backup/local/stli/stab")), setup.original);
}

void StliEditorTest::okWithoutTouchingTheTextWritesTheDataAsRead()
{
    const Bytes data = bytesOf(std::string_view("A\0B\r\nC\xE9\xFF\r\n\0\r", 12));
    StliSetup setup(stliPlugIn(data, "Descr\xE9ption", "\xFFid\x80"));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    QCOMPARE(hexView(*form)->toPlainText(), QStringLiteral("41 00 42 0D\n0A 43 E9 FF 0D\n0A 00 0D "));
    click(*form, "okButton");
    QCOMPARE(readAll(setup.path), setup.original);

    // Only the description changed: only the name is written anew.
    form->show();
    QLineEdit* description = child<QLineEdit>(*form, "description");
    description->selectAll();
    QTest::keyClicks(description, QStringLiteral("Renamed"));
    click(*form, "okButton");
    QCOMPARE(readAll(setup.path), expectedFile(setup.original, "Renamed", "\xFFid\x80", data));
}

void StliEditorTest::everyByteButZeroAndLineFeedSurvivesAnEdit()
{
    Bytes data;
    for (int b = 1; b < 256; ++b)
        if (b != '\n')
            data.push_back(static_cast<std::uint8_t>(b));
    data.push_back('\r');
    StliSetup setup(stliPlugIn(data));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    placeCaret(*form, 0);
    QTest::keyClicks(textView(*form), QStringLiteral("X"));
    textView(*form)->insertPlainText(QStringLiteral("\u20AC"));  // the euro sign has no Latin-1 byte
    QCOMPARE(textView(*form)->toPlainText().left(2), QStringLiteral("X?"));
    click(*form, "okButton");
    Bytes edited{'X', '?'};
    edited.insert(edited.end(), data.begin(), data.end());
    QCOMPARE(readAll(setup.path), expectedFile(setup.original, "Sample captions", "stab", edited));
}

void StliEditorTest::enterStoresOneCarriageReturnAndPastedLineFeedsAreDropped()
{
    StliSetup setup(stliPlugIn(bytesOf("Hello")));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    placeCaret(*form, 2);
    QTest::keyClick(textView(*form), Qt::Key_Return);
    QCOMPARE(form->rawBytes(), bytesOf("He\rllo"));
    QCOMPARE(textView(*form)->toPlainText(), QStringLiteral("He\nllo"));
    QTest::keyClick(textView(*form), Qt::Key_Return, Qt::ShiftModifier);  // a soft break is a line end too
    QCOMPARE(form->rawBytes(), bytesOf("He\r\rllo"));
    QTest::keyClick(textView(*form), Qt::Key_Backspace);

    QApplication::clipboard()->setText(QStringLiteral("a\nb"));
    textView(*form)->paste();
    QCOMPARE(form->rawBytes(), bytesOf("He\rabllo"));
    QApplication::clipboard()->setText(QStringLiteral("c\r\nd\re"));
    textView(*form)->paste();
    QCOMPARE(form->rawBytes(), bytesOf("He\rabc\rd\rello"));

    // What is copied from the view pastes back the same.
    textView(*form)->selectAll();
    textView(*form)->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("He\r\nabc\r\nd\r\nello"));
    textView(*form)->paste();
    QCOMPARE(form->rawBytes(), bytesOf("He\rabc\rd\rello"));
}

void StliEditorTest::shorterTextKeepsTheOldTailBehindIt()
{
    const Bytes data = sampleStliData({"Welcome to the marsh.", "Victory!"});
    StliSetup setup(stliPlugIn(data));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    textView(*form)->selectAll();
    QTest::keyClicks(textView(*form), QStringLiteral("Hi"));
    QCOMPARE(lengthText(*form), QStringLiteral("2"));
    click(*form, "okButton");
    const Bytes saved = readAll(setup.path);
    QCOMPARE(saved.size(), setup.original.size());
    QCOMPARE(saved, expectedFile(setup.original, "Sample captions", "stab", bytesOf("Hi")));
}

void StliEditorTest::emptyDataOpensAnEmptyForm()
{
    StliSetup setup(stliPlugIn({}));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    QCOMPARE(textView(*form)->toPlainText(), QString());
    QCOMPARE(lengthText(*form), QStringLiteral("0"));
    QCOMPARE(test::controlNames(*form), (QStringList{"Cancel", "Hex View", "Length", "Name(4 chars)", "OK", "Redo",
                                                     "String Description", "Text View", "Undo"}));
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const QString problem = test::fitProblem(*form);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    click(*form, "okButton");
    QCOMPARE(readAll(setup.path), setup.original);
    QCOMPARE(setup.prompter.shown().size(), std::size_t{1});  // where the backup went
}

void StliEditorTest::cancelHidesWithoutWriting()
{
    StliSetup setup(stliPlugIn(bytesOf("Keep\r")));
    QPointer<StliEditorDialog> form = setup.start();
    QVERIFY(form);
    placeCaret(*form, 0);
    QTest::keyClicks(textView(*form), QStringLiteral("Lose"));
    child<QLineEdit>(*form, "description")->setFocus();
    QTest::keyClicks(child<QLineEdit>(*form, "description"), QStringLiteral("x"));
    // Typing in one field is one step; Ctrl+Z undoes it wherever the focus is.
    QCOMPARE(setup.editor->undoStack().count(), 2);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keySequence(form, QKeySequence::Undo);
    QCOMPARE(textView(*form)->toPlainText(), QStringLiteral("LoseKeep\n"));
    QCOMPARE(child<QLineEdit>(*form, "description")->text(), QStringLiteral("Sample captions"));
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("stab* - ")));
    QTest::keySequence(form, QKeySequence::Undo);
    QCOMPARE(textView(*form)->toPlainText(), QStringLiteral("Keep\n"));
    QVERIFY(!setup.editor->hasUnsavedChanges());
    QCOMPARE(form->windowTitle(), QStringLiteral("stab - Tagwarden - STLI Editor"));
    QTest::keySequence(form, QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(setup.editor->undoStack().index(), 1);

    click(*form, "cancelButton");  // puts the list back as the file holds it
    QVERIFY(!form->isVisible());
    QCOMPARE(readAll(setup.path), setup.original);
    QVERIFY(!setup.editor->hasUnsavedChanges());
    QCOMPARE(textView(*form)->toPlainText(), QStringLiteral("Keep\n"));
    form->show();
    QTest::keyClicks(textView(*form), QStringLiteral("Lose"));
    form->close();  // the close box too
    QVERIFY(!form.isNull());
    QVERIFY(!setup.editor->hasUnsavedChanges());

    setup.editor.reset();
    QVERIFY(form.isNull());
    File exclusive(setup.path, File::Access::ReadWrite, File::Share::None);  // no longer held
    QVERIFY(exclusive.isOpen());
}

void StliEditorTest::failedWriteSaysWriteFailedAndKeepsTheFormOpen()
{
    StliSetup setup(stliPlugIn(bytesOf("Short\r")));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    placeCaret(*form, 0);
    QTest::keyClicks(textView(*form), QString(100, u'x'));

    // A file-size limit below the new length makes the write fail half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    click(*form, "okButton");
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &old), 0);

    const auto& shown = setup.prompter.shown();
    QCOMPARE(shown.size(), std::size_t{3});  // where the backup went, the file error, "Write Failed"
    QVERIFY(shown[1].text.find(setup.path) != std::string::npos);
    QCOMPARE(shown[2].text, std::string("Write Failed"));
    QCOMPARE(readAll(setup.path), setup.original);
    QVERIFY(form->isVisible());
    click(*form, "okButton");  // and it can be saved again
    QCOMPARE(readAll(setup.path).size(), std::size_t{64 + 106});
    QVERIFY(!form->isVisible());
}

void StliEditorTest::hexViewScrollsWithTheTextView()
{
    std::vector<std::string> lines;
    for (int i = 0; i < 120; ++i)
        lines.push_back("Line " + std::to_string(i) + std::string(i % 3 == 0 ? 60 : 2, '.'));  // some hex lines wrap
    StliSetup setup(stliPlugIn(sampleStliData(lines)));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    textView(*form)->verticalScrollBar()->setValue(40);
    QCOMPARE(hexView(*form)->cursorForPosition(QPoint(4, 4)).blockNumber(), 40);

    // Also when the caret scrolls the text view, as typing does.
    placeCaret(*form, 0);
    textView(*form)->verticalScrollBar()->setValue(70);
    QTest::keyClicks(textView(*form), QStringLiteral("x"));
    QCOMPARE(hexView(*form)->cursorForPosition(QPoint(4, 4)).blockNumber(),
             textView(*form)->cursorForPosition(QPoint(4, 4)).blockNumber());
}

void StliEditorTest::refusedFilesOpenNoForm()
{
    {
        Bytes plugIn = stliPlugIn(bytesOf("0123456789"));
        plugIn.resize(70);
        StliSetup setup(plugIn);
        QVERIFY(!setup.start());
        QVERIFY(setup.started);
        QCOMPARE(setup.prompter.shown().back().text,
                 "The file \"" + setup.path +
                     "\" is too short to edit: it holds 70 bytes, but needs 74 for the 64-byte tag header and 10 "
                     "bytes of data. The file was left unchanged.");
        QCOMPARE(readAll(setup.path), setup.original);
    }
    {
        StliSetup setup(buildPlugIn({"A unit", "mons", "msaa", 0, sampleMonsBlock(1)}));
        QVERIFY(!setup.start());
        QCOMPARE(setup.prompter.shown().back().text, std::string("This Editor cannot currently edit mons type objects"));
    }
    {
        StliSetup setup(stliPlugIn(bytesOf("Held\r")));
        const std::string sharing = FileError(FileErrorCause::SharingViolation, setup.path).what();
        {
            File mainWindow(setup.path, File::Access::Read, File::Share::None);
            QVERIFY(!setup.start());
            QVERIFY(setup.started);
            QCOMPARE(setup.prompter.shown().back().text, sharing);
        }
        setup.prompter.queueFile(setup.path);
        QVERIFY(setup.start());
        MonsEditor other(setup.settings, setup.prompter, {});
        setup.prompter.queueFile(setup.path);
        QVERIFY(other.start());
        QCOMPARE(setup.prompter.shown().back().text, sharing);
        QVERIFY(!other.form());
    }
}

void StliEditorTest::unsavedChangesAreWhatOkWouldWrite()
{
    using Edit = std::function<void(QWidget&)>;
    const auto type = [](const char* name, const QString& text) -> Edit {
        return [name, text](QWidget& form) {
            QLineEdit* field = child<QLineEdit>(form, name);
            field->selectAll();
            QTest::keyClicks(field, text);
        };
    };
    const auto typeText = [](int position, const QString& text) -> Edit {
        return [position, text](QWidget& form) {
            placeCaret(form, position);
            QTest::keyClicks(textView(form), text);
        };
    };
    const struct {
        const char* what;
        Edit edit;
        bool changed;
    } cases[] = {
        {"nothing", [](QWidget&) {}, false},
        {"id", type("shortName", "st2"), true},
        {"name", type("description", "Other captions"), true},
        {"name typed as it was", type("description", "Sample captions"), false},
        {"text", typeText(1, "x"), true},
        {"text typed and taken back", [&](QWidget& form) {
             typeText(1, "x")(form);
             QTest::keyClick(textView(form), Qt::Key_Backspace);
         }, false},
        {"line break", [&](QWidget& form) {
             placeCaret(form, 4);
             QTest::keyClick(textView(form), Qt::Key_Return);
         }, true},
    };
    for (const auto& row : cases) {
        StliSetup setup(stliPlugIn({0x41, 0x42, 0x0D, 0x43}));
        StliEditorDialog* form = setup.start();
        QVERIFY(form);
        QCOMPARE(setup.editor->filePath(), setup.path);
        row.edit(*form);
        QVERIFY2(setup.editor->hasUnsavedChanges() == row.changed, row.what);
    }

    // Data whose line feeds and zero bytes an edit of the text drops.
    StliSetup setup(stliPlugIn(bytesOf(std::string_view("A\0B\r\nC", 6))));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    QVERIFY(!setup.editor->hasUnsavedChanges());
    placeCaret(*form, 1);
    QTest::keyClicks(textView(*form), QStringLiteral("x"));
    QTest::keyClick(textView(*form), Qt::Key_Backspace);
    QVERIFY(setup.editor->hasUnsavedChanges());
}

void StliEditorTest::saveChangesWritesWhatOkWrites()
{
    StliSetup setup(stliPlugIn({0x41, 0x42, 0x0D, 0x43}));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    placeCaret(*form, 4);
    QTest::keyClicks(textView(*form), QStringLiteral("DE"));
    QVERIFY(setup.editor->saveChanges());
    QVERIFY(form->isVisible());  // unlike OK, it leaves the form as it is
    QVERIFY(!setup.editor->hasUnsavedChanges());
    QCOMPARE(readAll(setup.path), expectedFile(setup.original, "Sample captions", "stab", bytesOf("AB\rCDE")));
    click(*form, "okButton");
    QCOMPARE(readAll(setup.path), expectedFile(setup.original, "Sample captions", "stab", bytesOf("AB\rCDE")));

    StliSetup none(stliPlugIn({}));
    none.prompter = ScriptedPrompter{};  // the chooser is cancelled
    QVERIFY(!none.start());
    QVERIFY(!none.editor->hasUnsavedChanges());
    QVERIFY(!none.editor->saveChanges());
    QCOMPARE(none.editor->filePath(), std::string());
}

void StliEditorTest::anEditThatDropsBytesIsAnnouncedAndAsksBeforeSaving()
{
    const Bytes data = bytesOf(std::string_view("A\0B\r\nC\0", 7));
    StliSetup setup(stliPlugIn(data));
    StliEditorDialog* form = setup.start();
    QVERIFY(form);
    QLabel* notice = child<QLabel>(*form, "dropNotice");
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("This list holds 2 zero bytes and 1 line feed that the text cannot show: "
                                            "any edit of the text drops them."));
    placeCaret(*form, 0);
    QTest::keyClicks(textView(*form), QStringLiteral("x"));
    QCOMPARE(notice->text(), QStringLiteral("Editing the text dropped 2 zero bytes and 1 line feed of this list; "
                                            "OK asks before saving without them."));

    setup.prompter.queueAnswer(Prompter::Answer::Cancel);
    click(*form, "okButton");
    QVERIFY(form->isVisible());
    QCOMPARE(readAll(setup.path), setup.original);
    const std::string question =
        "Saving this edit drops 2 zero bytes and 1 line feed that the list held. Save it anyway?";
    QCOMPARE(setup.prompter.shown().back().text, question);
    QVERIFY(setup.prompter.shown().back().buttons == Prompter::Buttons::OkCancel);

    click(*form, "okButton");  // answered OK this time
    QVERIFY(!form->isVisible());
    QCOMPARE(readAll(setup.path), expectedFile(setup.original, "Sample captions", "stab", bytesOf("xAB\rC")));

    StliSetup clean(stliPlugIn(bytesOf("AB\rC")));
    QVERIFY(clean.start());
    QVERIFY(!child<QLabel>(*clean.editor->form(), "dropNotice")->isVisible());
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::StliEditorTest)
#include "stli_editor_test.moc"
