// The progress dialog as the directory reader drives it.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/io/file.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "core/tags/tag_directory.h"
#include "gui/support/gui_test_support.h"
#include "gui/tags/progress_dialog.h"
#include "support/temp_dir.h"

namespace tagwarden {

using test::child;

namespace {

// Remembers what the dialog looked like at each update, and how often it was painted.
class WatchedProgress : public ProgressDialog {
public:
    QStringList texts;
    int paints = 0;
    bool visibleWhileReading = false;

    bool timerRanWhileReading = false;

    // A timer that falls due during the reading must wait until it is over.
    void begin() override
    {
        reading = true;
        QTimer::singleShot(1, Qt::PreciseTimer, this, [this] { timerRanWhileReading = reading; });
        ProgressDialog::begin();
    }
    void end() override
    {
        reading = false;
        ProgressDialog::end();
    }
    void setText(const std::string& text) override
    {
        ProgressDialog::setText(text);
        texts << this->text();
        visibleWhileReading = visibleWhileReading || isVisible();
    }

private:
    bool reading = false;

public:

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        ProgressDialog::paintEvent(event);
    }
};

std::string archiveOf(const test::TempDir& dir, std::size_t count)
{
    return dir.write("tags" + std::to_string(count) + ".gor", buildArchive(syntheticTags(count)));
}

}  // namespace

class ProgressDialogTest : public QObject {
    Q_OBJECT

private slots:
    void cancelEscapeAndCloseAreIgnored();
    void stepAcceptsOnlyOneToNinetyNine();
    void smallArchiveCountsEverySecondEntryOnAFittedBar();
    void largeArchiveRepaintsWhileReadingAndHidesAtTheEnd();
};

void ProgressDialogTest::cancelEscapeAndCloseAreIgnored()
{
    ProgressDialog dialog;
    dialog.begin();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Reading Directory Entries"));
    QPushButton* cancel = child<QPushButton>(dialog, "cancel_button");
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(cancel->isDefault());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    QVERIFY(dialog.isVisible());
    dialog.end();
    QVERIFY(!dialog.isVisible());
}

void ProgressDialogTest::stepAcceptsOnlyOneToNinetyNine()
{
    ProgressDialog dialog;
    dialog.setRange(0, 99);
    dialog.setStep(5);
    dialog.setStep(0);
    dialog.setStep(100);
    dialog.stepIt();
    QCOMPARE(dialog.value(), 5);
    dialog.setStep(99);
    dialog.stepIt();  // past the end: starts over
    QCOMPARE(dialog.value(), 5);
}

void ProgressDialogTest::smallArchiveCountsEverySecondEntryOnAFittedBar()
{
    const test::TempDir dir;
    File file(archiveOf(dir, 50), File::Access::Read, File::Share::None);
    TagDirectory directory;
    WatchedProgress progress;
    QVERIFY(readDirectory(directory, file, &progress) == ReadOutcome::Archive);
    QCOMPARE(progress.minimum(), 0);
    QCOMPARE(progress.maximum(), 50);
    QCOMPARE(progress.value(), 25);
    QCOMPARE(progress.texts.size(), 27);
    QCOMPARE(progress.texts.first(), QStringLiteral("Initializing Object List"));
    QCOMPARE(progress.texts[1], QStringLiteral("2 Directory Entries Read"));
    QCOMPARE(progress.texts[25], QStringLiteral("50 Directory Entries Read"));
    QCOMPARE(progress.texts.last(), QStringLiteral("Mapping List...."));
    QVERIFY(progress.visibleWhileReading);
    QVERIFY(!progress.isVisible());
}

void ProgressDialogTest::largeArchiveRepaintsWhileReadingAndHidesAtTheEnd()
{
    const test::TempDir dir;
    File file(archiveOf(dir, 1000), File::Access::Read, File::Share::None);
    TagDirectory directory;
    WatchedProgress progress;
    QVERIFY(readDirectory(directory, file, &progress) == ReadOutcome::Archive);
    QCOMPARE(progress.maximum(), 99);
    QCOMPARE(progress.texts[1], QStringLiteral("11 Directory Entries Read"));
    QCOMPARE(progress.texts[2], QStringLiteral("22 Directory Entries Read"));
    // Painted during the reading itself, not only once it is over, and nothing else ran meanwhile.
    QVERIFY2(progress.paints > 1, qPrintable(QString::number(progress.paints)));
    QVERIFY(!progress.isVisible());
    QVERIFY(!progress.timerRanWhileReading);
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::ProgressDialogTest)
#include "progress_dialog_test.moc"
