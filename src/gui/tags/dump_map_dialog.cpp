#include "gui/tags/dump_map_dialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/prompt/prompter.h"
#include "gui/common/fixed_font.h"

namespace tagwarden {

DumpMapDialog::DumpMapDialog(const std::string& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dump_map_dialog"));
    setWindowTitle(QString::fromLatin1(Prompter::kApplicationName));

    view_ = new QPlainTextEdit(this);
    view_->setObjectName(QStringLiteral("dump_map_text"));
    view_->setAccessibleName(QStringLiteral("Dump Map"));
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view_->setFont(fixedFont());
    // A type's ids stand on one line; wrapping keeps them readable without endless sideways scrolling.
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setPlainText(QString::fromLatin1(text));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("ok_button"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(buttons);
    fitToScreen();
}

QString DumpMapDialog::text() const { return view_->toPlainText(); }

void DumpMapDialog::fitToScreen()
{
    const QFontMetrics metrics(view_->font());
    const QSize wanted(metrics.horizontalAdvance(QLatin1Char('0')) * 90, metrics.lineSpacing() * 30);
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QSize room = screen->availableGeometry().size() * 0.9;
    resize(wanted.boundedTo(room));
}

}  // namespace tagwarden
