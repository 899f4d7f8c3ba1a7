#include "gui/editors/stli_editor_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "core/editors/stli_text.h"
#include "core/tags/tag_text.h"
#include "gui/common/editor_chrome.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/fixed_font.h"
#include "gui/common/latin1_text.h"
#include "gui/editors/stli_text_view.h"

namespace tagwarden {

namespace {

// The hex text's line breaks are carriage return and line feed pairs.
QString hexDisplay(const std::string& hex)
{
    QString display = QString::fromLatin1(hex.data(), static_cast<qsizetype>(hex.size()));
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return display;
}

}  // namespace

StliEditorDialog::StliEditorDialog(QUndoStack& undoStack)
{
    setObjectName(QStringLiteral("stliEditorDialog"));
    chrome_ = new EditorChrome(*this, undoStack, kTitle, [this] {
        if (saveHandler_)
            (void)saveHandler_();
    });

    shortName_ = makeIdEdit();
    description_ = makeNameEdit();
    length_ = makeLengthEdit("length");
    auto* ok = makeButton("okButton", QStringLiteral("OK"));
    auto* cancel = makeButton("cancelButton", QStringLiteral("Cancel"));
    ok->setDefault(true);  // Enter in the text view starts a line; in the other fields it means OK
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(labelFor(shortName_, QStringLiteral("Name(4 chars)")));
    top->addWidget(shortName_);
    top->addSpacing(8);
    top->addWidget(labelFor(description_, QStringLiteral("String Description")));
    top->addWidget(description_, 1);
    top->addSpacing(8);
    top->addWidget(labelFor(length_, QStringLiteral("Length")));
    top->addWidget(length_);
    top->addSpacing(8);
    top->addWidget(ok);
    top->addWidget(cancel);
    top->addWidget(chrome_->undoButton());
    top->addWidget(chrome_->redoButton());

    const QFont fixed = fixedFont();
    textView_ = new StliTextView;
    textView_->setObjectName(QStringLiteral("textView"));
    textView_->setFont(fixed);
    textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textView_->setUndoRedoEnabled(false);  // the editor's undo stack holds every step
    nameField(textView_, QStringLiteral("Text View"));
    hexView_ = new QPlainTextEdit;
    hexView_->setObjectName(QStringLiteral("hexView"));
    hexView_->setFont(fixed);
    hexView_->setReadOnly(true);
    nameField(hexView_, QStringLiteral("Hex View"));
    hexView_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    hexView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(textView_, &QPlainTextEdit::textChanged, this, &StliEditorDialog::rebuild);
    // Every scroll of the text view, by its scroll bar, the wheel or the caret.
    connect(textView_, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
        if (dy != 0)
            followTextScroll();
    });

    dropNotice_ = new QLabel;
    dropNotice_->setObjectName(QStringLiteral("dropNotice"));
    dropNotice_->setWordWrap(true);
    dropNotice_->hide();

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(top);
    layout->addWidget(dropNotice_);
    layout->addWidget(textView_, 1);
    layout->addWidget(hexView_, 1);
    setScrollingContent(*this, content, QSize(760, 560));
    chrome_->takeUndoKeysOf(*content);
    for (QLineEdit* field : {shortName_, description_})
        connect(field, &QLineEdit::textEdited, this, [this, field] { emit edited(field->objectName()); });
}

StliEditorDialog::~StliEditorDialog() = default;

void StliEditorDialog::showValues(const Values& values)
{
    if (shortName_->text() != latin1Text(upToNul(values.shortName)))
        shortName_->setText(latin1Text(upToNul(values.shortName)));
    if (description_->text() != latin1Text(upToNul(values.description))) {
        description_->setText(latin1Text(upToNul(values.description)));
        description_->home(false);  // a field narrower than the name shows its start
    }
    if (values.bytes == rawBytes_ && !length_->text().isEmpty())
        return;
    rawBytes_ = values.bytes;
    length_->setText(QString::number(rawBytes_.size()));
    showDropNotice();
    showHex(stliLoadHex(rawBytes_));
    const QString display = StliTextView::displayText(stliLoadText(rawBytes_));
    if (display != textView_->rawText().replace(QChar::ParagraphSeparator, u'\n'))
        showText(display);
}

void StliEditorDialog::setSaved(const std::vector<std::uint8_t>& bytes)
{
    saved_ = bytes;
    drops_ = stliEditDrops(bytes);
    showDropNotice();
}

StliEditorDialog::Values StliEditorDialog::valuesOver(const Values& current) const
{
    return {rawBytes_, editedText(current.shortName, latin1Bytes(shortName_->text())),
            editedText(current.description, latin1Bytes(description_->text()))};
}

void StliEditorDialog::setFilePath(const std::string& path) { chrome_->setFilePath(path); }

void StliEditorDialog::showDropNotice()
{
    const QString drops = QString::fromStdString(dropsText(drops_));
    const QString before =
        QStringLiteral("This list holds %1 that the text cannot show: any edit of the text drops them.");
    const QString after =
        QStringLiteral("Editing the text dropped %1 of this list; OK asks before saving without them.");
    dropNotice_->setText((rawBytes_ != saved_ ? after : before).arg(drops));
    dropNotice_->setVisible(drops_.any());
}

void StliEditorDialog::done(int result)
{
    if (raiseRunningDialog())
        return;
    if (result == Accepted && saveHandler_ && !saveHandler_())
        return;
    if (result != Accepted && discardHandler_)
        discardHandler_();
    QDialog::done(result);
}

void StliEditorDialog::rebuild()
{
    if (showing_)
        return;
    QString shown = textView_->rawText();
    const StliRebuild rebuilt = rebuildStli(StliTextView::listText(shown));
    rawBytes_ = rebuilt.bytes;
    length_->setText(QString::number(rawBytes_.size()));
    showDropNotice();
    showHex(rebuilt.hex);
    const QString display = StliTextView::displayText(rebuilt.text);
    if (display != shown.replace(QChar::ParagraphSeparator, u'\n'))
        showText(display);
    followTextScroll();
    emit edited(textView_->objectName());
}

void StliEditorDialog::showHex(const std::string& hex) { hexView_->setPlainText(hexDisplay(hex)); }

// Puts text into the view without counting as a change, keeping the first
// visible line, the selection and the caret in view.
void StliEditorDialog::showText(const QString& display)
{
    const QTextCursor before = textView_->textCursor();
    const int anchor = before.anchor();
    const int position = before.position();
    const int top = textView_->verticalScrollBar()->value();
    const int left = textView_->horizontalScrollBar()->value();

    showing_ = true;
    textView_->setPlainText(display);
    showing_ = false;

    QTextCursor after(textView_->document());
    const int end = static_cast<int>(display.size());
    after.setPosition(std::min(anchor, end));
    after.setPosition(std::min(position, end), QTextCursor::KeepAnchor);
    textView_->setTextCursor(after);
    textView_->verticalScrollBar()->setValue(top);
    textView_->horizontalScrollBar()->setValue(left);
    textView_->ensureCursorVisible();
}

// Shows in the hex view the line that is first in the text view.
void StliEditorDialog::followTextScroll()
{
    const QTextBlock line = hexView_->document()->findBlockByNumber(textView_->verticalScrollBar()->value());
    if (line.isValid())
        hexView_->verticalScrollBar()->setValue(line.firstLineNumber());
}

}  // namespace tagwarden
