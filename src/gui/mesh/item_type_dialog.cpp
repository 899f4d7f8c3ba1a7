#include "gui/mesh/item_type_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "core/mesh/item_type.h"
#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_item.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/latin1_text.h"
#include "gui/mesh/mesh_form_fields.h"

namespace tagwarden {

ItemTypeDialog::ItemTypeDialog(ItemType& type, const std::list<MeshItem>& items, Prompter& prompter, QWidget* parent)
    : QDialog(parent), type_(type), prompter_(prompter)
{
    setObjectName(QStringLiteral("itemTypeDialog"));
    setWindowTitle(QStringLiteral("Tagwarden - Item Type Editor"));

    auto* categoryBox = new QGroupBox(QStringLiteral("Object Type"));
    category_ = addRadioButtons(*categoryBox, kCategoryChoices);
    category_->button(static_cast<int>(categoryChoiceIndex(type.category())))->setChecked(true);

    auto* tradingBox = new QGroupBox(QStringLiteral("Trading List"));
    trading_ = addRadioButtons(*tradingBox, kTradingChoices);
    if (const auto choice = tradingChoiceIndex(type.trading()); choice >= 0)
        trading_->button(static_cast<int>(choice))->setChecked(true);

    auto* upper = new QHBoxLayout;
    upper->addWidget(categoryBox);
    upper->addWidget(tradingBox, 0, Qt::AlignTop);
    upper->addWidget(makeNumbers(), 1, Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ItemTypeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ItemTypeDialog::reject);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(upper);
    QWidget* itemList = makeItemList(items);
    layout->addWidget(labelFor(itemList, QStringLiteral("Placed items of this type:")));
    layout->addWidget(itemList, 1);
    layout->addWidget(buttons);
    // Wide enough for a whole item line; on a narrow screen the list scrolls instead.
    const QMargins margins = layout->contentsMargins();
    const int lineWidth = itemList->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 112;
    setScrollingContent(*this, content, QSize(margins.left() + lineWidth + margins.right(), 0));
}

QWidget* ItemTypeDialog::makeNumbers()
{
    auto* box = new QGroupBox(QStringLiteral("ID, Reference && Team"));
    auto* form = new QFormLayout(box);
    code_ = makeTextField("itemId", 4);
    code_->setText(latin1Text(codeLabel(type_.code())));
    form->addRow(labelFor(code_, QStringLiteral("Item ID")), code_);
    // The arrows of these numbers are shown but never take part.
    const auto addNumber = [form](const char* label, const char* name, std::int16_t value) {
        QLineEdit* field = makeNumberField(name, value);
        QLabel* fieldLabel = labelFor(field, QString::fromLatin1(label));
        form->addRow(fieldLabel, withArrows(field, 0, 0xFFFF, value, false));
        return field;
    };
    team_ = addNumber("Team", "team", type_.team());
    presentCount_ = addNumber("# of Item Present", "presentCount", type_.presentCount());
    maxCount_ = addNumber("Max # of item", "maxCount", type_.maxCount());
    reference_ = addNumber("Item Reference", "reference", type_.reference());
    QLineEdit* unknown = makeReadOnlyField("unknown");
    form->addRow(labelFor(unknown, QStringLiteral("Unknown")), unknown);
    return box;
}

QWidget* ItemTypeDialog::makeItemList(const std::list<MeshItem>& items)
{
    QListWidget* list = makeLineList("typeItems");
    list->setSelectionMode(QAbstractItemView::NoSelection);
    for (const MeshItem& item : items)
        if (item.belongsTo(type_))
            insertSortedLine(*list, itemLine(item), nullptr);
    return list;
}

void ItemTypeDialog::accept()
{
    const auto numbers = readNumbers({{team_, kInt16Range},
                                      {presentCount_, kInt16Range},
                                      {maxCount_, kInt16Range},
                                      {reference_, kInt16Range}},
                                     prompter_);
    if (!numbers)
        return;
    const std::int32_t category = chosenCategory(static_cast<std::size_t>(category_->checkedId()), type_.category());
    if (category != kUnitCategory)
        type_.setTrading(0);
    else if (trading_->checkedId() >= 0)
        type_.setTrading(kTradingChoices[static_cast<std::size_t>(trading_->checkedId())].value);
    type_.setCategory(category);
    type_.setTeam((*numbers)[0]);
    type_.setPresentCount((*numbers)[1]);
    type_.setMaxCount((*numbers)[2]);
    type_.setReference((*numbers)[3]);
    type_.setCode(editedLabelCode(type_.code(), latin1Bytes(code_->text())));
    QDialog::accept();
}

}  // namespace tagwarden
