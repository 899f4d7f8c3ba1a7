// The Qt side of the prompter: filters, and real boxes and file dialogs answered by a user.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "gui/app/qt_prompter.h"
#include "gui/support/gui_test_support.h"
#include "support/temp_dir.h"

namespace tagwarden {

class QtPrompterTest : public QObject {
    Q_OBJECT

private slots:
    void classicFiltersBecomeNameFilters();
    void messageBoxShowsTextCaptionAndButtons();
    void messageWithUtf8PathReadsRight();
    void saveDiscardCancelAnswersTheButtonPressed();
    void saveDialogDoesNotAskAboutExistingFiles();
    void openDialogWithoutMustExistTakesANewName();
};

void QtPrompterTest::classicFiltersBecomeNameFilters()
{
    QCOMPARE(QtPrompter::nameFilters("Vorn Tag Files (*.gor)|*.gor|Plug-Ins|*|All Files (*.*)|*.*||"),
             (QStringList{"Vorn Tag Files (*.gor)", "Plug-Ins (*)", "All Files (*)"}));
    QCOMPARE(QtPrompter::nameFilters("Vorn Tag Files (*.gor)|*.gor||"), QStringList{"Vorn Tag Files (*.gor)"});
    QCOMPARE(QtPrompter::nameFilters("Pictures|*.png;*.bmp||"), QStringList{"Pictures (*.png *.bmp)"});
    QCOMPARE(QtPrompter::nameFilters(""), QStringList{});
}

void QtPrompterTest::messageBoxShowsTextCaptionAndButtons()
{
    QtPrompter prompter;
    QString text;
    QString caption;
    int buttons = 0;
    test::whenModalShows("message_box", [&](QDialog& shown) {
        auto& box = static_cast<QMessageBox&>(shown);
        text = box.text();
        caption = box.windowTitle();
        buttons = int(box.standardButtons());
        box.button(QMessageBox::Cancel)->click();
    });
    const auto answer = prompter.message("Line one\nLine two \xE9", Prompter::Buttons::OkCancel,
                                         Prompter::Icon::Exclamation, "Tagwarden");
    QVERIFY(answer == Prompter::Answer::Cancel);
    QCOMPARE(text, QStringLiteral("Line one\nLine two é"));
    QCOMPARE(caption, QStringLiteral("Tagwarden"));
    QCOMPARE(buttons, int(QMessageBox::Ok | QMessageBox::Cancel));
}

void QtPrompterTest::messageWithUtf8PathReadsRight()
{
    QtPrompter qtPrompter;
    Prompter& prompter = qtPrompter;
    QString text;
    test::whenModalShows("message_box", [&](QDialog& shown) {
        text = static_cast<QMessageBox&>(shown).text();
        shown.accept();
    });
    (void)prompter.message("The file \"/home/j\xC3\xB6rg/tags.gor\" could not be found.");
    QCOMPARE(text, QString::fromUtf8("The file \"/home/j\u00F6rg/tags.gor\" could not be found."));
}

void QtPrompterTest::saveDiscardCancelAnswersTheButtonPressed()
{
    QtPrompter prompter;
    const std::pair<const char*, Prompter::Answer> kButtons[] = {
        {"Save", Prompter::Answer::Save}, {"Discard", Prompter::Answer::Discard}, {"Cancel", Prompter::Answer::Cancel}};
    for (const auto& [label, expected] : kButtons) {
        QStringList labels;
        test::whenModalShows("message_box", [&, label = label](QDialog& shown) {
            for (QAbstractButton* button : static_cast<QMessageBox&>(shown).buttons())
                labels << button->text();
            for (QAbstractButton* button : static_cast<QMessageBox&>(shown).buttons())
                if (button->text() == QLatin1String(label))
                    QTest::mouseClick(button, Qt::LeftButton);
        });
        QVERIFY(prompter.message("Unsaved", Prompter::Buttons::SaveDiscardCancel, Prompter::Icon::None, "Tagwarden") == expected);
        labels.sort();
        QCOMPARE(labels, (QStringList{"Cancel", "Discard", "Save"}));
    }
    QVERIFY(!test::modalTimedOut());
}

void QtPrompterTest::saveDialogDoesNotAskAboutExistingFiles()
{
    const test::TempDir dir;
    const std::string existing = dir.write("abcd", Bytes{1, 2, 3});
    QtPrompter prompter;
    QString title;
    QString filter;
    test::whenModalShows("file_dialog", [&](QDialog& shown) {
        title = shown.windowTitle();
        filter = static_cast<QFileDialog&>(shown).selectedNameFilter();
        shown.accept();  // confirms the proposed name, which exists
    });
    Prompter::FileRequest request;
    request.kind = Prompter::FileRequest::Kind::Save;
    request.title = "Save the Plug-In";
    request.initialName = existing;
    request.filter = "Vorn Tag Files (*.gor)|*.gor|Plug-Ins|*||";
    const auto chosen = prompter.chooseFile(request);
    QVERIFY(!test::modalTimedOut());
    QCOMPARE(title, QStringLiteral("Save the Plug-In"));
    QCOMPARE(filter, QStringLiteral("Plug-Ins (*)"));  // the first filter that shows the proposed plug-in
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, existing);

    // A folder dialog starts in the nearest folder that exists and answers a folder.
    QString folder;
    test::whenModalShows("file_dialog", [&](QDialog& shown) {
        folder = static_cast<QFileDialog&>(shown).directory().absolutePath();
        shown.accept();
    });
    request.kind = Prompter::FileRequest::Kind::Folder;
    request.initialName = dir.file("not/yet");
    const auto chosenFolder = prompter.chooseFile(request);
    QCOMPARE(folder, QString::fromStdString(dir.path().string()));
    QVERIFY(chosenFolder.has_value());
}

void QtPrompterTest::openDialogWithoutMustExistTakesANewName()
{
    const test::TempDir dir;
    const std::string placeholder = dir.file("Find the Tags .gor");
    QtPrompter prompter;
    test::whenModalShows("file_dialog", [&](QDialog& shown) { shown.accept(); });
    Prompter::FileRequest request;
    request.initialName = placeholder;
    request.filter = "Vorn Tag Files (*.gor)|*.gor||";
    request.mustExist = false;
    const auto chosen = prompter.chooseFile(request);
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, placeholder);

    test::whenModalShows("file_dialog", [&](QDialog& shown) { shown.reject(); });
    QVERIFY(!prompter.chooseFile(request).has_value());
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::QtPrompterTest)
#include "qt_prompter_test.moc"
