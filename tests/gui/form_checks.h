#pragma once

// Checks every editor form shares: how screen readers (and end-to-end tests)
// find its controls, and that it fits the screen.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>

#include "gui/common/editor_widgets.h"

namespace tagwarden::test {

// The accessible names of the controls of `window` (buttons, check and radio
// boxes, fields, lists), sorted; "" stands for a control without a name. The
// text part of an editable list or of a spin box must carry its owner's name,
// or it shows as "part of NAME".
inline QStringList controlNames(QWidget& window)
{
    const auto partOf = [](const QWidget& control) -> QWidget* {
        QWidget* owner = control.parentWidget();
        if (qobject_cast<QComboBox*>(owner) || qobject_cast<QAbstractSpinBox*>(owner))
            return owner;
        // A list's drop-down view sits in a frame of its own.
        if (owner && qobject_cast<QComboBox*>(owner->parentWidget()))
            return owner->parentWidget();
        return nullptr;
    };
    QStringList names;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (QWidget* owner = partOf(*control)) {
            if (qobject_cast<QLineEdit*>(control) && control->accessibleName() != owner->accessibleName())
                names << QStringLiteral("part of ") + owner->accessibleName();
        } else if (qobject_cast<QComboBox*>(control)) {
            // Qt on Linux names a list by its current text and ties it to its label by a relation.
            names << control->accessibleName();
        } else if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                   qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
                   qobject_cast<QAbstractItemView*>(control)) {
            names << QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        }
    }
    names.sort();
    return names;
}

// What is wrong with the size of the shown `form`: it must lie within its
// screen's available area, show its whole content where that fits, and scroll
// where it does not.
inline QString fitProblem(QWidget& form)
{
    const QSize available = form.screen()->availableGeometry().size();
    if (form.width() > available.width() || form.height() > available.height())
        return QStringLiteral("larger than the screen");
    auto* area = form.findChild<QScrollArea*>(QStringLiteral("formScrollArea"));
    if (!area)
        return QStringLiteral("no scroll area");
    const QSize natural = form.sizeHint();  // the scroll area's content and any fixed buttons beside it
    const QSize room = roomOnScreen(form);
    const bool scrolls = area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible();
    const bool whole = form.width() >= natural.width() && form.height() >= natural.height();
    if (natural.width() <= room.width() && natural.height() <= room.height() && (!whole || scrolls))
        return QStringLiteral("not at its natural size without scroll bars although it fits");
    const QSize least = area->widget()->minimumSizeHint();
    const QSize shown = area->viewport()->size();
    if ((least.width() > shown.width() || least.height() > shown.height()) && !scrolls)
        return QStringLiteral("no scroll bars although its content does not fit");
    return {};
}

}  // namespace tagwarden::test
