// The header dialog: every field of a header in its box, limits, and the number check.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/prompt/scripted_prompter.h"
#include "core/sample/archive_builder.h"
#include "core/tags/tag_entry.h"
#include "gui/support/gui_test_support.h"
#include "gui/tags/header_dialog.h"

namespace tagwarden {

using test::child;

namespace {

QString box(QWidget& dialog, const char* name) { return child<QLineEdit>(dialog, name)->text(); }

TagEntry entryOf(const SampleTag& sampleTag, std::uint32_t start)
{
    TagHeaderBytes header = makeHeader(sampleTag, start);
    header[40] = 0xAB;  // reserved bytes 40..46 show as they are
    header[46] = 0x01;
    header[59] = 0x7F;  // and 56..59
    return TagEntry(header, 0);
}

}  // namespace

class HeaderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryFieldOfTheHeader();
    void codesEndAtTheirFirstNul();
    void limitedBoxesRefuseLongerInput();
    void okChecksTheNumberAndCancelDoesNot();
};

void HeaderDialogTest::showsEveryFieldOfTheHeader()
{
    const std::string name32 = "A name of exactly thirty-two ch.";
    QCOMPARE(name32.size(), std::size_t{32});
    SampleTag sampleTag{name32, "mons", "abcd", 0xFF, Bytes(300, 0)};
    const TagEntry entry = entryOf(sampleTag, 0x0001A2B0);
    ScriptedPrompter prompter;
    HeaderDialog dialog(prompter);
    dialog.fillFromEntry(entry);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vorn Object Details"));
    QCOMPARE(box(dialog, "description_edit"), QString::fromLatin1(name32));
    QCOMPARE(box(dialog, "type_edit"), QStringLiteral("mons"));
    QCOMPARE(box(dialog, "id_edit"), QStringLiteral("abcd"));
    QCOMPARE(box(dialog, "reserved1_edit"), QStringLiteral("AB000000000001"));
    QCOMPARE(box(dialog, "number_edit"), QStringLiteral("255"));
    QCOMPARE(box(dialog, "start_address_edit"), QStringLiteral("0001A2B0"));
    QCOMPARE(box(dialog, "length_edit"), QStringLiteral("0000012C"));
    QCOMPARE(box(dialog, "reserved2_edit"), QStringLiteral("0000007F"));
    QCOMPARE(box(dialog, "signature_edit"), QStringLiteral("vorn"));

    const QString dump = child<QLabel>(dialog, "dump_text")->text();
    QCOMPARE(dump.size(), 192);
    QVERIFY(dump.startsWith(QStringLiteral("41 20 6E 61 ")));  // "A na"
    QVERIFY(dump.endsWith(QStringLiteral("76 6F 72 6E ")));    // "vorn"
}

void HeaderDialogTest::codesEndAtTheirFirstNul()
{
    SampleTag sampleTag{"Short", "ab", "x", 7, Bytes(4, 0)};
    ScriptedPrompter prompter;
    HeaderDialog dialog(prompter);
    dialog.fillFromEntry(entryOf(sampleTag, 64));
    QCOMPARE(box(dialog, "description_edit"), QStringLiteral("Short"));
    QCOMPARE(box(dialog, "type_edit"), QStringLiteral("ab"));
    QCOMPARE(box(dialog, "id_edit"), QStringLiteral("x"));
    QCOMPARE(box(dialog, "number_edit"), QStringLiteral("7"));
}

void HeaderDialogTest::limitedBoxesRefuseLongerInput()
{
    ScriptedPrompter prompter;
    HeaderDialog dialog(prompter);
    const std::pair<const char*, int> limits[] = {
        {"description_edit", 32}, {"type_edit", 4}, {"id_edit", 4}, {"signature_edit", 4}};
    for (const auto& [name, limit] : limits) {
        QLineEdit* edit = child<QLineEdit>(dialog, name);
        edit->clear();
        QTest::keyClicks(edit, QString(40, QLatin1Char('x')));
        QCOMPARE(edit->text().size(), limit);
    }
}

void HeaderDialogTest::okChecksTheNumberAndCancelDoesNot()
{
    ScriptedPrompter prompter;
    HeaderDialog dialog(prompter);
    SampleTag sampleTag{"Unit", "mons", "abcd", 3, Bytes(4, 0)};
    dialog.fillFromEntry(entryOf(sampleTag, 64));
    dialog.show();
    QLineEdit* number = child<QLineEdit>(dialog, "number_edit");
    number->clear();
    QTest::keyClicks(number, QStringLiteral("12x"));
    QTest::mouseClick(child<QPushButton>(dialog, "ok_button"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompter.shown().size(), std::size_t{1});
    QCOMPARE(prompter.shown()[0].text, std::string("Please enter an integer."));
    QVERIFY(prompter.shown()[0].icon == Prompter::Icon::Exclamation);

    QTest::keyClick(&dialog, Qt::Key_Escape);  // the platform's cancel: no check
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(prompter.shown().size(), std::size_t{1});

    dialog.show();
    number->clear();
    QTest::keyClicks(number, QStringLiteral(" -42 "));
    QTest::mouseClick(child<QPushButton>(dialog, "ok_button"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(prompter.shown().size(), std::size_t{1});
}

}  // namespace tagwarden

QTEST_MAIN(tagwarden::HeaderDialogTest)
#include "header_dialog_test.moc"
