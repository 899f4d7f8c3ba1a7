#include "gui/common/editor_widgets.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace tagwarden {

namespace {

// A line edit that asks for room for `naturalChars` characters and makes do
// with less (as little as its minimum width) on a narrow screen.
class RoomyEdit : public QLineEdit {
public:
    explicit RoomyEdit(int naturalChars) : naturalChars_(naturalChars) {}

    [[nodiscard]] QSize sizeHint() const override
    {
        QSize hint = QLineEdit::sizeHint();
        hint.setWidth(std::max(hint.width(), fontMetrics().averageCharWidth() * naturalChars_));
        return hint;
    }

private:
    int naturalChars_;
};

QLineEdit* makeEdit(const char* objectName, int maxLength, int naturalChars = 0)
{
    auto* edit = new RoomyEdit(naturalChars);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMaxLength(maxLength);
    return edit;
}

// Where the user types into `field`, when that is a widget of its own.
QLineEdit* typingPart(QWidget* field)
{
    if (auto* list = qobject_cast<QComboBox*>(field))
        return list->lineEdit();
    if (qobject_cast<QAbstractSpinBox*>(field))
        return field->findChild<QLineEdit*>();
    return nullptr;
}

// A scroll area as large as its content wants to be (a plain one stops at a
// few hundred pixels), so that its form opens at the content's natural size.
class FormScrollArea : public QScrollArea {
public:
    explicit FormScrollArea(QSize natural) : natural_(natural) {}

    [[nodiscard]] QSize sizeHint() const override
    {
        return widget() ? widget()->sizeHint().expandedTo(natural_) : natural_;
    }

private:
    QSize natural_;
};

}  // namespace

QLineEdit* makeIdEdit()
{
    QLineEdit* edit = makeEdit("shortName", 4);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) + 16);
    return edit;
}

QLineEdit* makeNameEdit()
{
    QLineEdit* edit = makeEdit("description", 32, 34);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 12);
    return edit;
}

QLineEdit* makeLengthEdit(const char* objectName)
{
    QLineEdit* edit = makeEdit(objectName, 10);
    edit->setReadOnly(true);
    // Room for every length; a narrow screen may take the room of the longest ones.
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 8);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 8);
    edit->setToolTip(QStringLiteral("Length of the tag's data in bytes"));
    return edit;
}

QPushButton* makeButton(const char* objectName, const QString& text)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

QString fieldName(const QString& labelText)
{
    QString name;
    name.reserve(labelText.size());
    for (qsizetype i = 0; i < labelText.size(); ++i) {
        if (labelText[i] != u'&')
            name += labelText[i];
        else if (i + 1 < labelText.size() && labelText[i + 1] == u'&')
            name += labelText[++i];
    }
    name = name.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

QLabel* labelFor(QWidget* field, const QString& text, const QString& group)
{
    auto* label = new QLabel(text);
    label->setBuddy(field);
    const QString name = fieldName(text);
    nameField(field, group.isEmpty() ? name : fieldName(group) + u' ' + name);
    return label;
}

void nameField(QWidget* field, const QString& name)
{
    field->setAccessibleName(name);
    if (QLineEdit* typing = typingPart(field))
        typing->setAccessibleName(name);
}

void focusRefused(QWidget& field)
{
    QWidget* window = field.window();
    window->show();
    window->raise();
    window->activateWindow();
    field.setFocus();
}

void setScrollingContent(QDialog& form, QWidget* content, QSize natural, QWidget* fixedSide)
{
    auto* area = new FormScrollArea(natural);
    area->setObjectName(QStringLiteral("formScrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* layout = new QHBoxLayout(&form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area, 1);
    if (fixedSide)
        layout->addWidget(fixedSide);
    form.resize(form.sizeHint().boundedTo(roomOnScreen(form)));
}

QSize roomOnScreen(const QWidget& window)
{
    // The window manager's frame and title bar come on top of the window's size.
    const QStyle* style = window.style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &window);
    const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return window.screen()->availableGeometry().size() - QSize(2 * frame, titleBar + 2 * frame);
}

}  // namespace tagwarden
