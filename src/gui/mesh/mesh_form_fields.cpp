#include "gui/mesh/mesh_form_fields.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "core/prompt/prompter.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/fixed_font.h"
#include "gui/common/latin1_text.h"
#include "gui/mesh/buddy_spin.h"

namespace tagwarden {

namespace {

constexpr int kRawLineRole = Qt::UserRole;
constexpr int kRecordRole = Qt::UserRole + 1;
constexpr std::size_t kTabStop = 8;

}  // namespace

QLineEdit* makeTextField(const char* objectName, int maxLength)
{
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(objectName));
    if (maxLength > 0) {
        field->setMaxLength(maxLength);
        // Room for the whole text and a little more, so a short code never looks cut.
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('M')) * (std::min(maxLength, 8) + 2));
    }
    return field;
}

QLineEdit* makeNumberField(const char* objectName, qint64 value)
{
    QLineEdit* field = makeTextField(objectName);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), field));
    field->setText(QString::number(value));
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
    return field;
}

QLineEdit* makeReadOnlyField(const char* objectName, const QString& text)
{
    QLineEdit* field = makeTextField(objectName);
    field->setReadOnly(true);
    // Shown on the window's colour, so that nobody tries to type into it.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
    field->setText(text);
    return field;
}

QWidget* withArrows(QLineEdit* field, int minimum, int maximum, int start, bool enabled)
{
    auto* arrows = new BuddySpin(*field, minimum, maximum);
    arrows->setObjectName(field->objectName() + QStringLiteral("Spin"));
    arrows->setPosition(start);
    arrows->setEnabled(enabled);
    return inRow({field, arrows});
}

QWidget* inRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    return row;
}

std::optional<std::int32_t> numberIn(const QLineEdit& field, NumberRange range)
{
    bool isNumber = false;
    const qint64 value = field.text().toLongLong(&isNumber);
    if (isNumber && value >= range.minimum && value <= range.maximum)
        return static_cast<std::int32_t>(value);
    return std::nullopt;
}

std::optional<std::int32_t> readNumber(QLineEdit& field, NumberRange range, Prompter& prompter)
{
    if (const auto number = numberIn(field, range))
        return number;
    prompter.message("Please enter an integer between " + std::to_string(range.minimum) + " and " +
                         std::to_string(range.maximum) + " for " + field.accessibleName().toStdString() + ".",
                     Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    focusRefused(field);
    field.selectAll();
    return std::nullopt;
}

std::optional<std::vector<std::int32_t>> numbersIn(std::initializer_list<NumberField> fields)
{
    std::vector<std::int32_t> numbers;
    for (const NumberField& number : fields) {
        const auto value = numberIn(*number.field, number.range);
        if (!value)
            return std::nullopt;
        numbers.push_back(*value);
    }
    return numbers;
}

std::optional<std::vector<std::int32_t>> readNumbers(std::initializer_list<NumberField> fields, Prompter& prompter)
{
    for (const NumberField& number : fields)
        if (!readNumber(*number.field, number.range, prompter))
            return std::nullopt;
    return numbersIn(fields);
}

QString expandedLine(const std::string& line)
{
    std::string expanded;
    for (const char c : line) {
        if (c != '\t') {
            expanded += c;
            continue;
        }
        expanded.append(kTabStop - expanded.size() % kTabStop, ' ');
    }
    return latin1Text(expanded);
}

QListWidgetItem* makeLine(const std::string& line, void* record)
{
    auto* item = new QListWidgetItem(expandedLine(line));
    item->setData(kRawLineRole, latin1Text(line));
    item->setData(kRecordRole, QVariant::fromValue(record));
    return item;
}

QListWidgetItem* insertSortedLine(QListWidget& list, const std::string& line, void* record)
{
    const QString raw = latin1Text(line);
    int row = 0;
    while (row < list.count() &&
           QString::compare(list.item(row)->data(kRawLineRole).toString(), raw, Qt::CaseInsensitive) <= 0)
        ++row;
    QListWidgetItem* item = makeLine(line, record);
    list.insertItem(row, item);
    return item;
}

void* recordOf(const QListWidgetItem& line) { return line.data(kRecordRole).value<void*>(); }

QListWidgetItem* selectedLine(const QListWidget& list)
{
    const auto selected = list.selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QListWidget* makeLineList(const char* objectName)
{
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(objectName));
    list->setFont(fixedFont());
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

}  // namespace tagwarden
