#include "gui/editors/stli_text_view.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace tagwarden {

namespace {

bool isBreak(QChar c)
{
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// The view's text with its line breaks as carriage return and line feed, and
// its lone line feed symbols as line feeds.
QString listForm(const QString& display)
{
    QString text;
    text.reserve(display.size() + display.size() / 16);
    for (const QChar c : display) {
        if (isBreak(c))
            text += QStringLiteral("\r\n");
        else if (c == StliTextView::kLoneLineFeed)
            text += u'\n';
        else
            text += c;
    }
    return text;
}

}  // namespace

StliTextView::StliTextView(QWidget* parent) : QPlainTextEdit(parent) {}

QString StliTextView::displayText(std::string_view listText)
{
    QString display;
    display.reserve(static_cast<qsizetype>(listText.size()));
    for (std::size_t i = 0; i < listText.size(); ++i) {
        const char c = listText[i];
        if (c == '\r') {
            display += u'\n';
            if (i + 1 < listText.size() && listText[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            display += QChar(kLoneLineFeed);
        } else {
            display += QChar(static_cast<unsigned char>(c));
        }
    }
    return display;
}

std::string StliTextView::listText(const QString& display) { return listForm(display).toLatin1().toStdString(); }

QString StliTextView::pastedText(const QString& pasted)
{
    QString text;
    text.reserve(pasted.size());
    for (qsizetype i = 0; i < pasted.size(); ++i) {
        const QChar c = pasted[i];
        if (c == u'\r') {
            text += u'\n';
            if (i + 1 < pasted.size() && pasted[i + 1] == u'\n')
                ++i;
        } else if (c != u'\n') {
            text += c;
        }
    }
    return text;
}

QString StliTextView::rawText() const { return document()->toRawText(); }

QMimeData* StliTextView::createMimeDataFromSelection() const
{
    auto* mime = new QMimeData;
    mime->setText(listForm(textCursor().selection().toRawText()));
    return mime;
}

bool StliTextView::canInsertFromMimeData(const QMimeData* source) const { return source->hasText(); }

void StliTextView::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText())
        insertPlainText(pastedText(source->text()));
}

}  // namespace tagwarden
