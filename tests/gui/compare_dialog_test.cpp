// The "Compare with Archive" window: the comparison's lines, or why there are none.
#include <QTest>

#include <filesystem>

#include "gui/compare/compare_dialog.h"
#include "support/temp_dir.h"

namespace tagwarden {

namespace {

const SampleTag kUnit{"Archer", "mons", "abcd", 0, Bytes(512, 1)};

}  // namespace

class CompareDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheDifferencesOrWhyThereAreNone()
    {
        test::TempDir dir;
        std::filesystem::create_directories(dir.path() / "local" / "mons");
        SampleTag edited = kUnit;
        edited.data[296] = 120;
        const std::string plugIn = dir.write("local/mons/abcd", buildPlugIn(edited));
        const struct {
            Bytes archive;
            QString summaryEnd;
            QString lines;
        } rows[] = {
            {buildArchive({kUnit}), QStringLiteral(": 1 difference (unit)."), QStringLiteral("health: 1 -> 120")},
            {buildArchive({edited}), QStringLiteral(": no differences."), QString()},
            {buildArchive({{"Other", "mons", "zzzz", 0, Bytes(512)}}), QStringLiteral("holds no mons tag abcd"), QString()},
        };
        for (const auto& row : rows) {
            (void)dir.write("tags.gor", row.archive);
            const CompareDialog dialog(plugIn);
            QVERIFY2(dialog.summary().endsWith(row.summaryEnd), qPrintable(dialog.summary()));
            QCOMPARE(dialog.differences(), row.lines);
        }
        std::filesystem::remove(dir.file("tags.gor"));
        QVERIFY(CompareDialog(plugIn).summary().contains(QStringLiteral("could not be found")));
    }
};

}  // namespace tagwarden

QTEST_MAIN(tagwarden::CompareDialogTest)
#include "compare_dialog_test.moc"
