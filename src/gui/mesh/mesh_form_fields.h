#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QWidget;

namespace tagwarden {

class Prompter;

// Building blocks shared by the map editor's forms.

struct NumberRange {
    qint64 minimum;
    qint64 maximum;
};
inline constexpr NumberRange kInt16Range{-32768, 32767};
inline constexpr NumberRange kInt32Range{-2147483648LL, 2147483647LL};
// A 16-bit field whose arrows run over 0..0xFFFF: both readings of the bits are fine.
inline constexpr NumberRange kSpun16Range{-32768, 65535};

// A text field (maxLength 0: no limit).
[[nodiscard]] QLineEdit* makeTextField(const char* objectName, int maxLength = 0);
// A field that takes an optional minus sign and digits only.
[[nodiscard]] QLineEdit* makeNumberField(const char* objectName, qint64 value);
// A field the user cannot change.
[[nodiscard]] QLineEdit* makeReadOnlyField(const char* objectName, const QString& text = {});

// `field` with up and down arrows beside it that step over minimum..maximum,
// starting at `start`; the arrows can be shown disabled. They are named after
// the field ("Max Teams Up"), so the field is named first.
[[nodiscard]] QWidget* withArrows(QLineEdit* field, int minimum, int maximum, int start, bool enabled = true);
// Fields side by side in one row.
[[nodiscard]] QWidget* inRow(std::initializer_list<QWidget*> widgets);

// The field's integer when it holds one within `range`.
[[nodiscard]] std::optional<std::int32_t> numberIn(const QLineEdit& field, NumberRange range);
// The same, or nothing after telling the user what the field (named by its
// accessible name) must hold; the field's form is then shown with the focus on it.
[[nodiscard]] std::optional<std::int32_t> readNumber(QLineEdit& field, NumberRange range, Prompter& prompter);
struct NumberField {
    QLineEdit* field;
    NumberRange range;
};
// Every field's integer in order, or nothing when one of them is refused.
[[nodiscard]] std::optional<std::vector<std::int32_t>> numbersIn(std::initializer_list<NumberField> fields);
// The same, telling the user about the first refused field as readNumber does.
[[nodiscard]] std::optional<std::vector<std::int32_t>> readNumbers(std::initializer_list<NumberField> fields,
                                                                   Prompter& prompter);

// Radio buttons with the given labels, top to bottom, their ids 0, 1, ...
template <typename Choices>
QButtonGroup* addRadioButtons(QGroupBox& box, const Choices& choices);

// `line` with its tabs expanded to stops every eight characters, as a list box shows it.
[[nodiscard]] QString expandedLine(const std::string& line);
// A list line that shows `line` and carries its record.
[[nodiscard]] QListWidgetItem* makeLine(const std::string& line, void* record);
// The list's lines stay sorted by text, case ignored; each carries its record.
QListWidgetItem* insertSortedLine(QListWidget& list, const std::string& line, void* record);
[[nodiscard]] void* recordOf(const QListWidgetItem& line);
// The selected line, or nullptr.
[[nodiscard]] QListWidgetItem* selectedLine(const QListWidget& list);
// A list box in the fixed-pitch font that its tab-separated columns need.
[[nodiscard]] QListWidget* makeLineList(const char* objectName);

}  // namespace tagwarden

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

template <typename Choices>
QButtonGroup* tagwarden::addRadioButtons(QGroupBox& box, const Choices& choices)
{
    auto* group = new QButtonGroup(&box);
    auto* layout = new QVBoxLayout(&box);
    int id = 0;
    for (const auto& choice : choices) {
        auto* button = new QRadioButton(QString::fromLatin1(choice.label), &box);
        layout->addWidget(button);
        group->addButton(button, id++);
    }
    return group;
}
