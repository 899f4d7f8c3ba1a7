#pragma once

#include <QSize>
#include <QString>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tagwarden {

// The header fields both editor forms show in their top row.
// "Name": the tag's 4-character id.
[[nodiscard]] QLineEdit* makeIdEdit();
// "Description": the tag's 32-character name.
[[nodiscard]] QLineEdit* makeNameEdit();
// The data length, shown read-only.
[[nodiscard]] QLineEdit* makeLengthEdit(const char* objectName);
[[nodiscard]] QPushButton* makeButton(const char* objectName, const QString& text);

// A label's text as the name of its field: without "&" (a doubled one stays as
// one) and without a trailing ":", trimmed. "CORE Code:" names "CORE Code".
[[nodiscard]] QString fieldName(const QString& labelText);
// The visible label of `field`: its mnemonic leads to the field, and screen
// readers (and tests) know the field by the label's text as fieldName() gives
// it. Where a window shows the same label twice, `group` (its heading) comes
// first: "Primary" and "Min Range" name "Primary Min Range".
[[nodiscard]] QLabel* labelFor(QWidget* field, const QString& text, const QString& group = {});
// The accessible name of a field without a visible label, also given to the
// text part of an editable list or a spin box, where the typing happens.
void nameField(QWidget* field, const QString& name);

// Shows the window of a field that a check refused (it may have been closed
// while the main window saves it) and puts the focus on the field.
void focusRefused(QWidget& field);

// Puts `content` into `form` inside a scroll area, object name "formScrollArea",
// whose size hint is the form's natural size: the content's own size hint,
// enlarged to `natural` where that is larger. The form gets that size as far
// as roomOnScreen() allows: on a small or scaled-up screen it scrolls instead
// of running off it. A `fixedSide` (the form's buttons) stays beside the scroll
// area, always within reach.
void setScrollingContent(QDialog& form, QWidget* content, QSize natural = {}, QWidget* fixedSide = nullptr);
// The largest size a window may take on its screen, its frame and title bar left out.
[[nodiscard]] QSize roomOnScreen(const QWidget& window);

}  // namespace tagwarden
