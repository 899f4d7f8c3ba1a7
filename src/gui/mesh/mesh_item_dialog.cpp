#include "gui/mesh/mesh_item_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_item.h"
#include "gui/common/editor_widgets.h"
#include "gui/mesh/mesh_form_fields.h"

namespace tagwarden {

namespace {

constexpr int kSpinTop = 0xFFFF;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

MeshItemDialog::MeshItemDialog(MeshItem& item, Prompter& prompter, QWidget* parent)
    : QDialog(parent), item_(item), prompter_(prompter)
{
    setObjectName(QStringLiteral("meshItemDialog"));
    setWindowTitle(QStringLiteral("Tagwarden - Mesh Item Editor"));

    auto* presentBox = new QGroupBox(QStringLiteral("Present at startup"));
    initial_ = new QCheckBox(QStringLiteral("Initial Item"));
    initial_->setObjectName(QStringLiteral("initialItem"));
    initial_->setChecked(item.presentAtStart() != 0);
    (new QVBoxLayout(presentBox))->addWidget(initial_);

    auto* categoryBox = new QGroupBox(QStringLiteral("Object Type"));
    category_ = addRadioButtons(*categoryBox, kCategoryChoices);
    category_->button(static_cast<int>(categoryChoiceIndex(item.category())))->setChecked(true);

    auto* left = new QVBoxLayout;
    left->addWidget(presentBox);
    left->addWidget(categoryBox);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(makeIds());
    right->addWidget(makePosition());
    right->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &MeshItemDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MeshItemDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    setScrollingContent(*this, content);
}

QWidget* MeshItemDialog::makeIds()
{
    auto* box = new QGroupBox(QStringLiteral("ID && Reference Numbers"));
    auto* form = new QFormLayout(box);
    id1_ = makeNumberField("id1", item_.id1());
    form->addRow(labelFor(id1_, QStringLiteral("Item ID1")), id1_);
    reference_ = makeNumberField("reference", item_.reference());
    QLabel* referenceLabel = labelFor(reference_, QStringLiteral("Item Reference"));
    form->addRow(referenceLabel, withArrows(reference_, 0, kSpinTop, item_.reference() & kSpinTop));
    id2_ = makeNumberField("id2", item_.id2());
    form->addRow(labelFor(id2_, QStringLiteral("Item ID2")), id2_);
    id3_ = makeNumberField("id3", item_.id3());
    form->addRow(labelFor(id3_, QStringLiteral("Item ID3")), id3_);
    return box;
}

QLineEdit* MeshItemDialog::addPositionRow(QFormLayout& form, const char* label, const char* name, std::int32_t value)
{
    QLineEdit* field = makeNumberField(name, value);
    const std::string shownName = std::string(name) + "Value";
    QLineEdit* shown = makeReadOnlyField(shownName.c_str(), fromUtf8(decimalText(positionValue(value))));
    QLabel* fieldLabel = labelFor(field, QString::fromLatin1(label));
    nameField(shown, fieldName(QString::fromLatin1(label)) + QStringLiteral(" Scaled"));
    form.addRow(fieldLabel, inRow({field, shown}));
    return field;
}

QWidget* MeshItemDialog::makePosition()
{
    auto* box = new QGroupBox(QStringLiteral("Position"));
    auto* form = new QFormLayout(box);
    x_ = addPositionRow(*form, "X:", "x", item_.x());
    y_ = addPositionRow(*form, "Y:", "y", item_.y());
    z_ = addPositionRow(*form, "Z:", "z", item_.z());
    facing_ = makeNumberField("facing", item_.facing());
    // Any integer may be typed; it is checked on "OK".
    facing_->setValidator(nullptr);
    QLineEdit* angle = makeReadOnlyField("angle", fromUtf8(decimalText(facingDegrees(item_.facing())) + "\u00B0"));
    nameField(angle, QStringLiteral("Facing Degrees"));
    QLabel* facingLabel = labelFor(facing_, QStringLiteral("Facing:"));
    form->addRow(facingLabel, inRow({withArrows(facing_, 0, kSpinTop, item_.facing() & kSpinTop), angle}));
    return box;
}

void MeshItemDialog::accept()
{
    const auto numbers = readNumbers({{id1_, kInt16Range},
                                      {reference_, kSpun16Range},
                                      {id2_, kInt16Range},
                                      {id3_, kInt16Range},
                                      {x_, kInt32Range},
                                      {y_, kInt32Range},
                                      {z_, kInt32Range},
                                      {facing_, kSpun16Range}},
                                     prompter_);
    if (!numbers)
        return;
    item_.setCategory(chosenCategory(static_cast<std::size_t>(category_->checkedId()), item_.category()));
    item_.setPresentAtStart(initial_->isChecked() ? 1 : 0);
    item_.setId1((*numbers)[0]);
    item_.setReference((*numbers)[1]);
    item_.setId2((*numbers)[2]);
    item_.setId3((*numbers)[3]);
    item_.setX((*numbers)[4]);
    item_.setY((*numbers)[5]);
    item_.setZ((*numbers)[6]);
    item_.setFacing((*numbers)[7]);
    QDialog::accept();
}

}  // namespace tagwarden
