// The screenshot mode: each window shown lands as a PNG, named in showing order.
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include "gui/app/screenshot_saver.h"
#include "support/temp_dir.h"

namespace tagwarden {

class ScreenshotSaverTest : public QObject {
    Q_OBJECT

private slots:
    void everyShownWindowIsSavedOnceLaidOut();
};

void ScreenshotSaverTest::everyShownWindowIsSavedOnceLaidOut()
{
    const test::TempDir dir;
    const QString folder = QString::fromStdString(dir.file("shots"));
    ScreenshotSaver saver(folder);
    qApp->installEventFilter(&saver);

    QDialog named;
    named.setObjectName(QStringLiteral("header_dialog"));
    auto* layout = new QVBoxLayout(&named);
    layout->addWidget(new QLabel(QStringLiteral("A line long enough to widen the dialog beyond its default"), &named));
    QDialog titled;
    titled.setWindowTitle(QStringLiteral("Reading Directory Entries"));
    QLabel insideWindow(QStringLiteral("child"), &named);  // not a window: no file

    named.show();
    titled.show();
    QTRY_COMPARE(QDir(folder).entryList(QDir::Files).size(), qsizetype{2});
    QCOMPARE(QDir(folder).entryList(QDir::Files),
             (QStringList{"001-header_dialog.png", "002-Reading_Directory_Entries.png"}));
    const QImage image(QDir(folder).filePath(QStringLiteral("001-header_dialog.png")));
    QCOMPARE(image.width(), named.width());
    QVERIFY(image.width() > 200);
    qApp->removeEventFilter(&saver);
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::ScreenshotSaverTest)
#include "screenshot_saver_test.moc"
