#include "gui/mesh/mesh_items_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUndoStack>
#include <algorithm>
#include <array>
#include <utility>

#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/prompter.h"
#include "gui/common/dialog_controls.h"
#include "gui/common/editor_chrome.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/latin1_text.h"
#include "gui/mesh/item_map_dialog.h"
#include "gui/mesh/item_type_dialog.h"
#include "gui/mesh/mesh_form_fields.h"
#include "gui/mesh/mesh_commands.h"
#include "gui/mesh/mesh_item_dialog.h"
#include "gui/mesh/mesh_session.h"

namespace tagwarden {

// One of the two groups: its header fields and its actions.
struct MeshItemsDialog::Table {
    const char* title;
    const char* listName;
    const char* prefix;
    MeshNumber count;
    MeshNumber offset;
    MeshNumber length;
    std::array<std::pair<const char*, Action>, 3> actions;
};

namespace {

constexpr const char* kTitle = "Tagwarden - MESH Item editor";

// "3 placed items use this item type." and what OK does to them.
std::string usedTypeText(std::size_t users)
{
    const std::string count = std::to_string(users);
    const bool one = users == 1;
    return count + (one ? " placed item uses" : " placed items use") + " this item type.\nClick on OK to delete " +
           (one ? "that item" : "these " + count + " items") + " with it, or Cancel to keep both.";
}

// Selects the line of `record` (none: no line).
void selectRecordLine(QListWidget& list, const void* record)
{
    for (int row = 0; row < list.count(); ++row) {
        if (recordOf(*list.item(row)) == record) {
            list.setCurrentRow(row);
            list.scrollToItem(list.item(row));
            return;
        }
    }
    list.setCurrentItem(nullptr);
    list.clearSelection();
}

// The list's lines afresh, sorted as insertSortedLine sorts them; `selected`'s line selected.
template <typename Records, typename LineOf>
void fillList(QListWidget& list, Records& records, const void* selected, LineOf lineOf)
{
    struct Line {
        QString key;
        std::string text;
        void* record;
    };
    std::vector<Line> lines;
    for (auto& record : records) {
        std::string text = lineOf(record);
        lines.push_back({latin1Text(text), std::move(text), &record});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return QString::compare(a.key, b.key, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker quiet(list);
    list.clear();
    for (const Line& line : lines)
        list.addItem(makeLine(line.text, line.record));
    selectRecordLine(list, selected);
}

const void* selectedRecord(const QListWidget& list)
{
    const QListWidgetItem* line = selectedLine(list);
    return line ? recordOf(*line) : nullptr;
}

}  // namespace

MeshItemsDialog::MeshItemsDialog(MeshSession& session, Prompter& prompter, std::function<void()> save, QWidget* parent)
    : QDialog(parent, Qt::Tool), session_(session), model_(session.model()), prompter_(prompter)
{
    setObjectName(QStringLiteral("meshItemsDialog"));
    auto* chrome = new EditorChrome(*this, session.stack(), kTitle, std::move(save));
    chrome->setFilePath(model_.file().path());
    chrome->holdWhile([&session] { return session.raiseRunningDialog(); });
    session.addWindow(*this);

    types_ = makeLineList("typeList");
    items_ = makeLineList("itemList");
    items_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    items_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    const Table types{"Item Types", "Item Type List", "type",
                      MeshNumber::typeCount, MeshNumber::typeOffset, MeshNumber::typeLength,
                      {{{"Add", &MeshItemsDialog::addType},
                        {"Edit", &MeshItemsDialog::editType},
                        {"Delete", &MeshItemsDialog::deleteType}}}};
    const Table items{"Items", "Item List", "item",
                      MeshNumber::itemCount, MeshNumber::itemOffset, MeshNumber::itemLength,
                      {{{"Add", &MeshItemsDialog::addItem},
                        {"Edit", &MeshItemsDialog::editItem},
                        {"Delete", &MeshItemsDialog::deleteItem}}}};
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(makeGroup(types, types_), 1);
    layout->addWidget(makeGroup(items, items_), 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* mapButton = buttons->addButton(QStringLiteral("Item Map"), QDialogButtonBox::ActionRole);
    mapButton->setObjectName(QStringLiteral("itemMapButton"));
    mapButton->setAutoDefault(false);
    mapButton->setToolTip(QStringLiteral("Show where the placed items stand"));
    connect(mapButton, &QPushButton::clicked, this, &MeshItemsDialog::showItemMap);
    for (QPushButton* step : {chrome->undoButton(), chrome->redoButton()})
        buttons->addButton(step, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &MeshItemsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MeshItemsDialog::reject);
    layout->addWidget(buttons);

    // At first the last record of each list is selected.
    const auto last = [](const auto& records) -> const void* { return records.empty() ? nullptr : &records.back(); };
    fillList(*types_, model_.itemTypes(), last(model_.itemTypes()), itemTypeLine);
    fillList(*items_, model_.items(), last(model_.items()), itemLine);
    showModel();
    connect(&session, &MeshSession::modelChanged, this, &MeshItemsDialog::showModel);
    connect(types_, &QListWidget::itemDoubleClicked, this, &MeshItemsDialog::editType);
    connect(items_, &QListWidget::itemDoubleClicked, this, &MeshItemsDialog::editItem);
    connect(items_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* line) {
        if (map_)
            map_->selectItem(line ? static_cast<const MeshItem*>(recordOf(*line)) : nullptr);
    });

    // Wide enough for a whole item line in the fixed-pitch font.
    const int charWidth = items_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    setScrollingContent(*this, content, QSize(charWidth * 126, charWidth * 72));
}

void MeshItemsDialog::accept()
{
    if (!session_.raiseRunningDialog())
        QDialog::accept();
}

void MeshItemsDialog::reject()
{
    if (session_.raiseRunningDialog())
        return;
    session_.discardChanges();
    QDialog::reject();
}

QWidget* MeshItemsDialog::makeGroup(const Table& table, QListWidget* list)
{
    const std::string prefix(table.prefix);
    auto* row = new QHBoxLayout;
    const QString title = QString::fromLatin1(table.title);
    for (const auto& [label, field] :
         {std::pair{"Count", table.count}, {"Offset", table.offset}, {"Length", table.length}}) {
        QLineEdit* shown = makeReadOnlyField((prefix + label).c_str());
        counters_.emplace_back(shown, field);
        row->addWidget(labelFor(shown, QString::fromLatin1(label), title));
        row->addWidget(shown);
    }
    row->addSpacing(16);
    for (const auto& [text, action] : table.actions)
        row->addWidget(makeButton(text, prefix + text, action));

    nameField(list, QString::fromLatin1(table.listName));
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(row);
    layout->addWidget(list);
    return box;
}

QPushButton* MeshItemsDialog::makeButton(const char* text, const std::string& name, Action action)
{
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(QString::fromStdString(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, action);
    return button;
}

void MeshItemsDialog::showModel()
{
    fillList(*types_, model_.itemTypes(), selectedRecord(*types_), itemTypeLine);
    fillList(*items_, model_.items(), selectedRecord(*items_), itemLine);
    for (const auto& [field, number] : counters_)
        field->setText(QString::number(model_.header().number(number)));
    if (map_) {
        map_->refresh();
        map_->selectItem(static_cast<const MeshItem*>(selectedRecord(*items_)));
    }
}

void MeshItemsDialog::push(QUndoCommand* step, QListWidget& list, const void* record)
{
    session_.stack().push(step);
    selectRecordLine(list, record);
}

void MeshItemsDialog::addType()
{
    session_.stack().push(itemTypeAdded(model_, ItemType{}));
    // The new type's line is selected while its form shows.
    selectRecordLine(*types_, &model_.itemTypes().back());
    editType();
}

void MeshItemsDialog::editType()
{
    QListWidgetItem* line = selectedLine(*types_);
    if (!line) {
        prompter_.message("Select ItemType to Edit", Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    auto& type = *static_cast<ItemType*>(recordOf(*line));
    ItemType edited = type;
    ItemTypeDialog form(edited, model_.items(), prompter_, this);
    if (execWindowModal(form) == QDialog::Accepted && edited.bytes() != type.bytes())
        push(recordEdited(type, edited), *types_, &type);
}

void MeshItemsDialog::deleteType()
{
    QListWidgetItem* line = selectedLine(*types_);
    if (!line) {
        prompter_.message("Invalid Listbox Selection (types)");
        return;
    }
    const auto* type = static_cast<const ItemType*>(recordOf(*line));
    // A map saved from here never holds an item whose type went.
    const std::vector<const MeshItem*> users = model_.itemsOnlyOf(*type);
    if (!users.empty() && prompter_.message(usedTypeText(users.size()), Prompter::Buttons::OkCancel,
                                            Prompter::Icon::Exclamation, "Delete Item Type") != Prompter::Answer::Ok)
        return;
    push(recordsDeleted(model_, type, users), *types_, nullptr);
}

void MeshItemsDialog::addItem()
{
    MeshItem added;
    MeshItemDialog form(added, prompter_, this);
    execWindowModal(form);
    // The new line is not selected, and no further edit follows on the old selection.
    push(itemAdded(model_, added), *items_, selectedRecord(*items_));
}

void MeshItemsDialog::editItem()
{
    QListWidgetItem* line = selectedLine(*items_);
    if (!line) {
        prompter_.message("Select Item to Edit", Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    auto& item = *static_cast<MeshItem*>(recordOf(*line));
    MeshItem edited = item;
    MeshItemDialog form(edited, prompter_, this);
    if (execWindowModal(form) == QDialog::Accepted && edited.bytes() != item.bytes())
        push(recordEdited(item, edited), *items_, &item);
}

void MeshItemsDialog::deleteItem()
{
    QListWidgetItem* line = selectedLine(*items_);
    if (!line) {
        prompter_.message("Invalid Listbox Selection (items)");
        return;
    }
    if (prompter_.message("Confirm Deletion of selected item", Prompter::Buttons::OkCancel, Prompter::Icon::None,
                          "Delete Item") != Prompter::Answer::Ok)
        return;
    push(recordsDeleted(model_, nullptr, {static_cast<const MeshItem*>(recordOf(*line))}), *items_, nullptr);
}

void MeshItemsDialog::showItemMap()
{
    if (!map_) {
        map_ = new ItemMapDialog(model_, prompter_, this);
        map_->setAttribute(Qt::WA_DeleteOnClose);
        connect(map_, &ItemMapDialog::itemClicked, this, &MeshItemsDialog::selectItemLine);
        if (QListWidgetItem* line = items_->currentItem())
            map_->selectItem(static_cast<const MeshItem*>(recordOf(*line)));
    }
    map_->show();
    map_->raise();
    map_->activateWindow();
}

ItemMapDialog* MeshItemsDialog::itemMap() const { return map_; }

void MeshItemsDialog::selectItemLine(const MeshItem* item) { selectRecordLine(*items_, item); }

}  // namespace tagwarden
