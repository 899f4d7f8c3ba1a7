#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>

namespace tagwarden {

// Controls are made with an object name, so that tests and screenshots find them.

// A push button that never becomes the default by taking focus: in these dialogs
// only the button set as default answers Enter.
inline QPushButton* dialogButton(const QString& text, const char* objectName, QWidget* parent = nullptr,
                                 bool enabled = true)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    button->setEnabled(enabled);
    return button;
}

inline QCheckBox* dialogCheckBox(const QString& text, const char* objectName, QWidget* parent, bool enabled)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(objectName));
    box->setEnabled(enabled);
    return box;
}

// Runs `dialog` modal to its own window only, so that the editor forms beside
// that window keep taking input.
inline int execWindowModal(QDialog& dialog)
{
    if (dialog.parentWidget())
        dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

}  // namespace tagwarden
