#include "gui/tags/header_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/prompt/prompter.h"
#include "core/tags/tag_entry.h"
#include "core/tags/tag_text.h"
#include "gui/common/fixed_font.h"

namespace tagwarden {

namespace {

constexpr const char* kNotAnIntegerMessage = "Please enter an integer.";
constexpr int kDumpBytesPerRow = 8;

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// Four-byte codes end at their first NUL, like every other text field.
QString codeText(const std::string& code) { return latin1(upToNul(code)); }

}  // namespace

HeaderDialog::HeaderDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), dump_(new QLabel(this)), form_(new QFormLayout)
{
    setObjectName(QStringLiteral("header_dialog"));
    setWindowTitle(QStringLiteral("Vorn Object Details"));

    description_ = addBox(QStringLiteral("Description"), "description_edit", 32, 32);
    type_ = addBox(QStringLiteral("Obj type"), "type_edit", 4, 6);
    id_ = addBox(QStringLiteral("Obj Name"), "id_edit", 4, 6);
    reserved1_ = addBox(QStringLiteral("Reserved1"), "reserved1_edit", 0, 16);
    number_ = addBox(QStringLiteral("Obj Number"), "number_edit", 0, 6);
    startAddress_ = addBox(QStringLiteral("Start Address"), "start_address_edit", 0, 10);
    length_ = addBox(QStringLiteral("Length of Data"), "length_edit", 0, 10);
    reserved2_ = addBox(QStringLiteral("Reserved2"), "reserved2_edit", 0, 10);
    signature_ = addBox(QStringLiteral("Vorn Tag"), "signature_edit", 4, 6);

    // Fixed pitch and a width of eight bytes a row: the 64 bytes line up in 8 rows.
    dump_->setObjectName(QStringLiteral("dump_text"));
    dump_->setFont(fixedFont());
    dump_->setWordWrap(true);
    dump_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    dump_->setText(QStringLiteral("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    dump_->setFixedWidth(dump_->fontMetrics().horizontalAdvance(QString(3 * kDumpBytesPerRow, QLatin1Char('0'))));
    dump_->setMinimumHeight(dump_->fontMetrics().lineSpacing() * (64 / kDumpBytesPerRow));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok_button"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &HeaderDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(ok, 0, Qt::AlignRight);
    side->addSpacing(ok->sizeHint().height() / 2);
    side->addWidget(new QLabel(QStringLiteral("Header bytes:"), this));
    side->addWidget(dump_);
    side->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form_);
    layout->addSpacing(12);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* HeaderDialog::addBox(const QString& label, const char* objectName, int maxLength, int minimumChars)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(objectName));
    box->setAccessibleName(label);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(minimumChars, QLatin1Char('M'))) / 2 + 24);
    form_->addRow(label, box);
    return box;
}

void HeaderDialog::fillFromEntry(const TagEntry& entry)
{
    description_->setText(latin1(entry.name()));
    type_->setText(codeText(entry.type()));
    id_->setText(codeText(entry.id()));
    reserved1_->setText(latin1(entry.reserved1Text()));
    number_->setText(QString::number(entry.number()));
    startAddress_->setText(latin1(entry.startAddressText()));
    length_->setText(latin1(entry.lengthText()));
    reserved2_->setText(latin1(entry.reserved2Text()));
    signature_->setText(codeText(entry.signature()));
    dump_->setText(latin1(entry.dumpText()));
}

std::optional<int> HeaderDialog::readNumber()
{
    bool ok = false;
    const int number = number_->text().trimmed().toInt(&ok);
    if (ok)
        return number;
    prompter_.message(kNotAnIntegerMessage, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    number_->setFocus();
    number_->selectAll();
    return std::nullopt;
}

void HeaderDialog::accept()
{
    // The boxes' length limits hold while typing; only the number can be wrong.
    if (readNumber())
        QDialog::accept();
}

}  // namespace tagwarden
