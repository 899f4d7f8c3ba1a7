#include "gui/editors/editor_widgets.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tagwarden {

namespace {

QLineEdit* makeEdit(const char* objectName, int maxLength)
{
    auto* edit = new QLineEdit;
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

}  // namespace

QLineEdit* makeIdEdit()
{
    QLineEdit* edit = makeEdit("shortName", 4);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) + 16);
    return edit;
}

QLineEdit* makeNameEdit()
{
    QLineEdit* edit = makeEdit("description", 32);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 34);
    return edit;
}

QLineEdit* makeLengthEdit(const char* objectName)
{
    QLineEdit* edit = makeEdit(objectName, 10);
    edit->setReadOnly(true);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 8);
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

}  // namespace tagwarden
