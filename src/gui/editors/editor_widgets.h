#pragma once

class QLineEdit;
class QPushButton;
class QString;

namespace tagwarden {

// The header fields both editor forms show in their top row.
// "Name": the tag's 4-character id.
[[nodiscard]] QLineEdit* makeIdEdit();
// "Description": the tag's 32-character name.
[[nodiscard]] QLineEdit* makeNameEdit();
// The data length, shown read-only.
[[nodiscard]] QLineEdit* makeLengthEdit(const char* objectName);
[[nodiscard]] QPushButton* makeButton(const char* objectName, const QString& text);

}  // namespace tagwarden
