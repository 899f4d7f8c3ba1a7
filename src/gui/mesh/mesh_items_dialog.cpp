#include "gui/mesh/mesh_items_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <utility>

#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/prompter.h"
#include "gui/common/dialog_controls.h"
#include "gui/common/editor_widgets.h"
#include "gui/mesh/item_map_dialog.h"
#include "gui/mesh/item_type_dialog.h"
#include "gui/mesh/mesh_form_fields.h"
#include "gui/mesh/mesh_item_dialog.h"

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

void MeshItemsDialog::Counters::change(int records)
{
    countValue += records;
    lengthValue += records * recordSize;
    count->setText(QString::number(countValue));
    length->setText(QString::number(lengthValue));
}

MeshItemsDialog::MeshItemsDialog(MeshModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), model_(model), prompter_(prompter)
{
    setObjectName(QStringLiteral("meshItemsDialog"));
    setWindowTitle(QStringLiteral("Tagwarden - MESH Item editor"));

    types_ = makeLineList("typeList");
    items_ = makeLineList("itemList");
    items_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    items_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    typeCounters_.recordSize = static_cast<qint64>(ItemType::kSize);
    itemCounters_.recordSize = static_cast<qint64>(MeshItem::kSize);

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
    layout->addWidget(makeGroup(types, types_, typeCounters_), 1);
    layout->addWidget(makeGroup(items, items_, itemCounters_), 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* mapButton = buttons->addButton(QStringLiteral("Item Map"), QDialogButtonBox::ActionRole);
    mapButton->setObjectName(QStringLiteral("itemMapButton"));
    mapButton->setAutoDefault(false);
    mapButton->setToolTip(QStringLiteral("Show where the placed items stand"));
    connect(mapButton, &QPushButton::clicked, this, &MeshItemsDialog::showItemMap);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (ItemType& type : model.itemTypes())
        types_->setCurrentItem(insertSortedLine(*types_, itemTypeLine(type), &type));
    for (MeshItem& item : model.items())
        items_->setCurrentItem(insertSortedLine(*items_, itemLine(item), &item));
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

QWidget* MeshItemsDialog::makeGroup(const Table& table, QListWidget* list, Counters& counters)
{
    const std::string prefix(table.prefix);
    const MeshHeader& header = model_.header();
    counters.countValue = header.number(table.count);
    counters.lengthValue = header.number(table.length);
    counters.count = makeReadOnlyField((prefix + "Count").c_str(), QString::number(counters.countValue));
    counters.length = makeReadOnlyField((prefix + "Length").c_str(), QString::number(counters.lengthValue));
    QLineEdit* offset = makeReadOnlyField((prefix + "Offset").c_str(), QString::number(header.number(table.offset)));

    auto* row = new QHBoxLayout;
    const QString title = QString::fromLatin1(table.title);
    for (const auto& [label, field] : {std::pair{"Count", counters.count}, {"Offset", offset}, {"Length", counters.length}}) {
        row->addWidget(labelFor(field, QString::fromLatin1(label), title));
        row->addWidget(field);
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

void MeshItemsDialog::replaceLine(QListWidget& list, QListWidgetItem* line, const std::string& text, void* record)
{
    delete line;
    list.setCurrentItem(insertSortedLine(list, text, record));
}

void MeshItemsDialog::editItemType(ItemType& type)
{
    ItemTypeDialog form(type, model_.items(), prompter_, this);
    execWindowModal(form);
}

void MeshItemsDialog::editMeshItem(MeshItem& item)
{
    MeshItemDialog form(item, prompter_, this);
    execWindowModal(form);
}

void MeshItemsDialog::addType()
{
    ItemType& type = model_.addItemType();
    types_->setCurrentItem(insertSortedLine(*types_, itemTypeLine(type), &type));
    typeCounters_.change(1);
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
    editItemType(type);
    replaceLine(*types_, line, itemTypeLine(type), &type);
}

void MeshItemsDialog::deleteType()
{
    QListWidgetItem* line = selectedLine(*types_);
    if (!line) {
        prompter_.message("Invalid Listbox Selection (types)");
        return;
    }
    auto* type = static_cast<ItemType*>(recordOf(*line));
    delete line;
    types_->clearSelection();
    model_.removeItemType(*type);
    typeCounters_.change(-1);
}

void MeshItemsDialog::addItem()
{
    MeshItem& item = model_.addItem();
    editMeshItem(item);
    // The new line is not selected, and no further edit follows on the old selection.
    insertSortedLine(*items_, itemLine(item), &item);
    itemCounters_.change(1);
    itemsChanged();
}

void MeshItemsDialog::editItem()
{
    QListWidgetItem* line = selectedLine(*items_);
    if (!line) {
        prompter_.message("Select Item to Edit", Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    auto& item = *static_cast<MeshItem*>(recordOf(*line));
    editMeshItem(item);
    replaceLine(*items_, line, itemLine(item), &item);
    itemsChanged();
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
    auto* item = static_cast<MeshItem*>(recordOf(*line));
    delete line;
    items_->clearSelection();
    model_.removeItem(*item);
    itemCounters_.change(-1);
    itemsChanged();
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

void MeshItemsDialog::itemsChanged()
{
    if (map_)
        map_->refresh();
}

void MeshItemsDialog::selectItemLine(const MeshItem* item)
{
    for (int row = 0; row < items_->count(); ++row) {
        if (recordOf(*items_->item(row)) == item) {
            items_->setCurrentRow(row);
            items_->scrollToItem(items_->item(row));
            return;
        }
    }
}

}  // namespace tagwarden
