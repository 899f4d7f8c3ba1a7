// The data viewer driven as a user would: its texts, both layouts, and the plug-in
// it writes, with scripted answers to the save dialog and every message box.
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "core/io/file.h"
#include "core/prompt/scripted_prompter.h"
#include "core/sample/archive_builder.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "gui/support/gui_test_support.h"
#include "gui/viewer/object_viewer_dialog.h"
#include "support/temp_dir.h"

namespace tagwarden {

using test::child;

namespace {

Bytes patterned(std::size_t count)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return bytes;
}

const SampleTag kSmall{"Note", "stli", "wxyz", 0, {'A', 'B', 0x0A}};
const SampleTag kArcher{"Archer", "mons", "abcd", 4, patterned(5000)};

// An archive opened as the main window holds it, and a viewer on one of its entries.
struct Viewer {
    explicit Viewer(std::size_t index)
    {
        path = dir.write("tags.gor", buildArchive({kSmall, kArcher}));
        file = File(path, File::Access::Read, File::Share::None);
        if (readDirectory(directory, file, nullptr) != ReadOutcome::Archive)
            throw std::runtime_error("fixture without directory");
        dialog = std::make_unique<ObjectViewerDialog>(directory.entryAt(index), file, path, settings, prompter);
    }

    QStringList loadObject(int asciiSetting)
    {
        settings.writeInt("Settings", "ASCII", asciiSetting);
        child<QPushButton>(*dialog, "loadObjectButton")->click();
        return listed(*dialog);
    }

    static QStringList listed(QWidget& dialog)
    {
        const QAbstractItemModel* lines = child<QListView>(dialog, "dataList")->model();
        QStringList texts;
        for (int i = 0; i < lines->rowCount(); ++i)
            texts << lines->index(i, 0).data().toString();
        return texts;
    }

    QStringList createPlugIn(std::optional<std::string> target)
    {
        prompter.clearRecord();
        prompter.queueFile(std::move(target));
        child<QPushButton>(*dialog, "createPlugInButton")->click();
        QStringList texts;
        for (const auto& shown : prompter.shown())
            texts << QString::fromStdString(shown.text);
        return texts;
    }

    test::TempDir dir;
    std::string path;
    File file;
    TagDirectory directory;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    std::unique_ptr<ObjectViewerDialog> dialog;
};

QStringList labelTexts(QWidget& parent)
{
    QStringList texts;
    for (auto* label : parent.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

}  // namespace

class ObjectViewerDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheEntryAndItsLinesOnOpening()
    {
        Viewer viewer(1);
        QWidget& dialog = *viewer.dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Vorn Object Viewer"));
        QCOMPARE(child<QLabel>(dialog, "titleLine")->text(), QStringLiteral("abcd (mons) - Archer"));
        QCOMPARE(child<QLabel>(dialog, "lengthText")->text(), QStringLiteral("00001388"));
        QCOMPARE(child<QLineEdit>(dialog, "startAddress")->text(), QStringLiteral("67"));
        QCOMPARE(child<QLineEdit>(dialog, "dataLength")->text(), QStringLiteral("5000"));
        QVERIFY(child<QLineEdit>(dialog, "dataLength")->isReadOnly());
        const QStringList labels = labelTexts(dialog);
        for (const char* text : {"Length of Object Data:", "Starting Address:", "Length:"})
            QVERIFY2(labels.contains(QLatin1String(text)), text);
        QCOMPARE(child<QPushButton>(dialog, "loadObjectButton")->text(), QStringLiteral("Load Object"));
        QCOMPARE(child<QPushButton>(dialog, "createPlugInButton")->text(), QStringLiteral("Create Plug-In"));
        QCOMPARE(child<QPushButton>(dialog, "okButton")->text(), QStringLiteral("OK"));
        QCOMPARE(child<QPushButton>(dialog, "cancelButton")->text(), QStringLiteral("Cancel"));

        QCOMPARE(Viewer::listed(dialog), viewer.loadObject(0));
        QCOMPARE(Viewer::listed(dialog).size(), 64);
        QCOMPARE(child<QLabel>(dialog, "shownPart")->text(), QStringLiteral("Showing the first 2048 of 5000 bytes of data."));
        // Fixed pitch by the glyphs' own widths (some monospace families do not say they are).
        const QFontMetricsF metrics(child<QListView>(dialog, "dataList")->font());
        for (const QChar glyph : QStringLiteral("iW.0 m"))
            QCOMPARE(metrics.horizontalAdvance(glyph), metrics.horizontalAdvance(QLatin1Char('0')));
        QVERIFY(viewer.prompter.shown().empty());
    }

    void selectedLinesAreCopiedInListOrder()
    {
        Viewer viewer(1);
        const QStringList hex = viewer.loadObject(0);
        auto* list = child<QListView>(*viewer.dialog, "dataList");
        list->selectionModel()->select(list->model()->index(3, 0), QItemSelectionModel::Select);
        list->selectionModel()->select(list->model()->index(1, 0), QItemSelectionModel::Select);
        viewer.dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(viewer.dialog.get()));
        list->setFocus();
        QTest::keySequence(list, QKeySequence::Copy);
        viewer.dialog->hide();
        QCOMPARE(QGuiApplication::clipboard()->text(), hex[1] + QLatin1Char('\n') + hex[3] + QLatin1Char('\n'));
    }

    void loadObjectFollowsTheAsciiSettingAtEachPress()
    {
        Viewer viewer(1);
        const QStringList hex = viewer.loadObject(0);
        QCOMPARE(hex.size(), 64);
        for (const QString& line : hex)
            QCOMPARE(line.size(), 110);
        QVERIFY(hex[1].startsWith(QStringLiteral("0000000099: ")));

        const QStringList characters = viewer.loadObject(1);
        QCOMPARE(characters.size(), 103);
        QCOMPARE(characters[0].size(), 97);
        QVERIFY(characters[1].startsWith(QStringLiteral("0000000087: ")));

        QCOMPARE(viewer.loadObject(1), characters);  // a second press shows each line once
        QCOMPARE(viewer.loadObject(2), hex);
    }

    void allDataListsTheWholeTagAndGoToAndFindReachIt()
    {
        Viewer viewer(1);
        child<QCheckBox>(*viewer.dialog, "showAllData")->click();
        const QStringList all = Viewer::listed(*viewer.dialog);
        QCOMPARE(all.size(), 157);  // 5000 bytes, 32 a line
        QCOMPARE(all[100].left(24), QStringLiteral("0000003267 +0x00000C80: "));
        QVERIFY(child<QLabel>(*viewer.dialog, "shownPart")->isHidden());
        auto* list = child<QListView>(*viewer.dialog, "dataList");
        QVERIFY(viewer.dialog->goToOffset(4999));
        QCOMPARE(list->currentIndex().row(), 156);
        QVERIFY(!viewer.dialog->goToOffset(5000));
        // Byte i is i * 31 + 7: "67 86" stands at 160 and every 256 bytes on, up to 4768.
        QCOMPARE(viewer.dialog->find("67 86"), std::optional<std::size_t>(160));
        QCOMPARE(list->currentIndex().row(), 5);
        for (std::size_t at = 416; at <= 4768; at += 256)
            QCOMPARE(viewer.dialog->find("67 86"), std::optional<std::size_t>(at));
        QCOMPARE(viewer.dialog->find("67 86"), std::optional<std::size_t>(160));  // round again
        QCOMPARE(viewer.dialog->find("\"no such text\""), std::nullopt);
        child<QCheckBox>(*viewer.dialog, "showAllData")->click();
        QCOMPARE(Viewer::listed(*viewer.dialog), viewer.loadObject(0));
    }

    void createPlugInWritesTheWholeTag()
    {
        Viewer viewer(1);
        const std::string target = viewer.dir.file("abcd");
        QCOMPARE(viewer.createPlugIn(target), QStringList{QStringLiteral("PlugIn created")});
        QCOMPARE(viewer.prompter.shown()[0].buttons, Prompter::Buttons::Ok);
        QCOMPARE(viewer.prompter.shown()[0].caption, std::string(Prompter::kApplicationName));
        QCOMPARE(viewer.prompter.fileRequests().back().initialName, viewer.dir.file("local/mons/abcd"));
        const Bytes written = test::readAll(target);
        QCOMPARE(written.size(), std::size_t{5064});
        QVERIFY(written == buildPlugIn(kArcher));
        QVERIFY(viewer.dialog->isEnabled());  // the viewer stays for another name
    }

    void createPlugInReportsEveryRefusal()
    {
        Viewer viewer(1);
        QCOMPARE(viewer.createPlugIn(std::nullopt), QStringList{QStringLiteral("ERROR PlugIn NOT created")});

        const std::string taken = viewer.dir.write("taken", {1});
        QCOMPARE(viewer.createPlugIn(taken), (QStringList{QStringLiteral("ERROR - Plugin Already Exists"),
                                                          QStringLiteral("ERROR PlugIn NOT created")}));
        QVERIFY(test::readAll(taken) == Bytes{1});

        const QStringList missing = viewer.createPlugIn(viewer.dir.file("no/such/folder"));
        QCOMPARE(missing.size(), 2);
        QVERIFY(missing[0].startsWith(QStringLiteral("ERROR - Plugin File Couldn't be created: The file \"")));
        QVERIFY(missing[0].endsWith(QStringLiteral("\" could not be found. (No such file or directory)")));
        QCOMPARE(missing[1], QStringLiteral("ERROR PlugIn NOT created"));
    }

    void readErrorsAreToldAndNothingIsListed()
    {
        Viewer viewer(1);
        viewer.file.close();
        viewer.prompter.clearRecord();
        ObjectViewerDialog broken(viewer.directory.entryAt(1), viewer.file, viewer.path, viewer.settings,
                                  viewer.prompter);
        QCOMPARE(viewer.prompter.shown().size(), std::size_t{1});
        QVERIFY(viewer.prompter.shown()[0].text.find(viewer.path) != std::string::npos);
        child<QPushButton>(broken, "loadObjectButton")->click();
        QVERIFY(Viewer::listed(broken).isEmpty());

        const QStringList texts = viewer.createPlugIn(viewer.dir.file("abcd"));
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts.back(), QStringLiteral("ERROR PlugIn NOT created"));
        QVERIFY(!QFile::exists(QString::fromStdString(viewer.dir.file("abcd"))));
    }

    void dataCutShortByTheFileIsSaid()
    {
        Viewer viewer(0);
        TagHeaderBytes header = makeHeader(kSmall, 0);
        const auto length = static_cast<std::uint32_t>(viewer.file.length());
        setFieldNumber(header, tag_header::kStartAddress, length - 10);
        setFieldNumber(header, tag_header::kDataLength, std::uint32_t{100});
        viewer.dialog = std::make_unique<ObjectViewerDialog>(TagEntry(header, 0), viewer.file, viewer.path,
                                                             viewer.settings, viewer.prompter);
        QCOMPARE(child<QLabel>(*viewer.dialog, "shownPart")->text(),
                 QStringLiteral("Only 10 of 100 bytes could be read: the file ends before the tag's data does."));
    }

    void okAndCancelCloseTheViewer()
    {
        Viewer viewer(0);
        viewer.dialog->show();
        QTest::mouseClick(child<QPushButton>(*viewer.dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(viewer.dialog->result(), int(QDialog::Accepted));
        viewer.dialog->show();
        QTest::mouseClick(child<QPushButton>(*viewer.dialog, "cancelButton"), Qt::LeftButton);
        QCOMPARE(viewer.dialog->result(), int(QDialog::Rejected));
        QVERIFY(!viewer.dialog->isVisible());
    }
};

}  // namespace tagwarden

QTEST_MAIN(tagwarden::ObjectViewerDialogTest)
#include "object_viewer_dialog_test.moc"
