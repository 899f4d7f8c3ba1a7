#include "gui/editors/editor_widgets.h"

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

}  // namespace tagwarden
