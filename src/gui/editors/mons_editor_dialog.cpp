#include "gui/editors/mons_editor_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/editors/code_choices.h"
#include "core/editors/mons_fields.h"
#include "core/prompt/prompter.h"
#include "core/tags/tag_text.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/latin1_text.h"
#include "gui/editors/wrapping_spin_box.h"

namespace tagwarden {

namespace {

WrappingSpinBox* makeSpin(const MonsNumberField& field)
{
    auto* box = new WrappingSpinBox;
    box->setObjectName(QString::fromLatin1(field.name));
    box->setTypedMaximum(std::max(255, field.checkMaximum));
    box->setStepRange(field.stepMinimum, field.stepMaximum);
    box->setMinimumWidth(72);
    return box;
}

QComboBox* makeCombo(const char* name, bool editable)
{
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->lineEdit()->setMaxLength(4);
        // What is typed is what is stored: no listed id is completed into it.
        box->setCompleter(nullptr);
    }
    box->setMinimumContentsLength(8);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

// The current value and `others` in alphabetical order (case ignored), the current one selected.
void fillList(QComboBox& box, const std::string& current, const std::vector<std::string>& others)
{
    const QString shown = latin1Text(upToNul(current));
    QStringList items{shown};
    for (const std::string& other : others)
        items << latin1Text(upToNul(other));
    std::stable_sort(items.begin(), items.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    box.clear();
    box.addItems(items);
    box.setCurrentIndex(static_cast<int>(items.indexOf(shown)));
}

QLabel* heading(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

MonsEditorDialog::MonsEditorDialog(Prompter& prompter) : prompter_(prompter)
{
    setObjectName(QStringLiteral("monsEditorDialog"));
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(buildTopRow());
    layout->addWidget(buildGeneralGroup());
    layout->addWidget(buildTerrainGroup());
    layout->addWidget(buildAttacksGroup());
    layout->addStretch(1);
    setScrollingContent(*this, content);
}

MonsEditorDialog::~MonsEditorDialog() = default;

QWidget* MonsEditorDialog::buildTopRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    shortName_ = makeIdEdit();
    description_ = makeNameEdit();
    dataLength_ = makeLengthEdit("dataLength");

    auto* ok = makeButton("okButton", QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* save = makeButton("saveButton", QStringLiteral("Save Changes"));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &MonsEditorDialog::saveRequested);

    nameField(dataLength_, QStringLiteral("Data Length"));
    layout->addWidget(labelFor(shortName_, QStringLiteral("Name:")));
    layout->addWidget(shortName_);
    layout->addSpacing(8);
    layout->addWidget(labelFor(description_, QStringLiteral("Description:")));
    layout->addWidget(description_, 1);
    layout->addWidget(dataLength_);
    layout->addSpacing(16);
    layout->addWidget(ok);
    layout->addWidget(save);
    return row;
}

QWidget* MonsEditorDialog::buildGeneralGroup()
{
    auto* group = new QGroupBox;
    auto* grid = new QGridLayout(group);
    const auto addNumber = [grid](const char* name, int row, int column) {
        const MonsNumberField& field = *monsNumberNamed(name);
        WrappingSpinBox* box = makeSpin(field);
        grid->addWidget(labelFor(box, QString::fromLatin1(field.label)), row, column, Qt::AlignRight);
        grid->addWidget(box, row, column + 1, Qt::AlignLeft);
    };
    addNumber("turnRate", 0, 0);
    addNumber("walkRate", 0, 2);
    addNumber("health", 1, 0);
    addNumber("ammo", 1, 2);
    addNumber("spriteScale", 1, 4);

    // Shown as read but never saved, so they cannot be changed.
    auto* healGroup = new QGroupBox;
    healGroup->setObjectName(QStringLiteral("healGroup"));
    healGroup->setToolTip(tr("Whether the game's healer unit heals or kills this creature (shown only, never saved)"));
    healGroup->setEnabled(false);
    auto* healLayout = new QHBoxLayout(healGroup);
    heals_ = new QRadioButton(QString::fromLatin1(kMonsHealsLabel));
    heals_->setObjectName(QStringLiteral("healsCreature"));
    kills_ = new QRadioButton(QString::fromLatin1(kMonsKillsLabel));
    kills_->setObjectName(QStringLiteral("killsCreature"));
    healLayout->addWidget(heals_);
    healLayout->addWidget(kills_);
    grid->addWidget(healGroup, 2, 0, 1, 4);
    stone_ = new QCheckBox(QString::fromLatin1(kMonsStoneLabel));
    stone_->setObjectName(QStringLiteral("turnToStone"));
    grid->addWidget(stone_, 2, 4, 1, 2);

    const auto addCode = [grid](const char* name, int row, int column) {
        const MonsCodeField& field = *monsCodeNamed(name);
        QComboBox* box = makeCombo(field.name, true);
        grid->addWidget(labelFor(box, QString::fromLatin1(field.label)), row, column, Qt::AlignRight);
        grid->addWidget(box, row, column + 1);
    };
    addCode("coreCode", 3, 0);
    addCode("objeCode", 4, 0);
    grid->addWidget(new QLabel(QStringLiteral("* - DO NOT CHANGE")), 4, 2, 1, 2);
    addCode("prgrCode", 5, 0);
    grid->setColumnStretch(6, 1);
    return group;
}

QWidget* MonsEditorDialog::buildTerrainGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Terrain Movement:"));
    auto* grid = new QGridLayout(group);
    // Rows of up to four boxes line up in columns; a longer row packs its boxes
    // side by side, so that it does not widen the columns above it.
    constexpr int kColumns = 4;
    int row = 0;
    for (const MonsTerrainRow& terrainRow : kMonsTerrainRows) {
        grid->addWidget(new QLabel(QString::fromLatin1(terrainRow.label)), row, 0);
        QHBoxLayout* packed = nullptr;
        if (terrainRow.boxes.size() > kColumns) {
            packed = new QHBoxLayout;
            grid->addLayout(packed, row, 1, 1, kColumns);
        }
        int column = 1;
        for (const std::size_t byte : terrainRow.boxes) {
            auto* box = new QCheckBox(QString::fromLatin1(kMonsTerrain[byte].label));
            box->setObjectName(QString::fromLatin1(kMonsTerrain[byte].name));
            terrain_[byte] = box;
            if (packed)
                packed->addWidget(box);
            else
                grid->addWidget(box, row, column++);
        }
        if (packed)
            packed->addStretch(1);
        ++row;
    }
    grid->setColumnStretch(kColumns + 1, 1);
    return group;
}

QWidget* MonsEditorDialog::buildAttacksGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Attacks:"));
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(buildAttackColumn(QString::fromLatin1(kMonsAttackSides[0].heading), true));
    layout->addSpacing(24);
    layout->addWidget(buildAttackColumn(QString::fromLatin1(kMonsAttackSides[1].heading), false));
    layout->addStretch(1);
    return group;
}

QWidget* MonsEditorDialog::buildAttackColumn(const QString& title, bool primary)
{
    const std::string side = primary ? "primary" : "secondary";
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading(title));
    auto* form = new QFormLayout;
    layout->addLayout(form);
    const auto addNumber = [&](const char* part) -> WrappingSpinBox* {
        const MonsNumberField& field = *monsNumberNamed(side + part);
        WrappingSpinBox* box = makeSpin(field);
        form->addRow(labelFor(box, QString::fromLatin1(field.label), title), box);
        return box;
    };
    const auto addList = [&](const char* part, const char* label, bool editable) {
        QComboBox* box = makeCombo((side + part).c_str(), editable);
        form->addRow(labelFor(box, QString::fromLatin1(label), title), box);
        return box;
    };

    // Saved as read whatever it shows, so it cannot be changed.
    WrappingSpinBox* recoverTime = addNumber("RecoverTime");
    recoverTime->setEnabled(false);
    recoverTime->setToolTip(tr("Shown only: saving keeps the recover time as read"));
    addList("ProjCode", monsCodeNamed(side + "ProjCode")->label, true);
    addNumber("MinRange");
    addNumber("MaxRange");
    addList("Ballistics", monsShownKeyed(side + ".ballistics")->label, false)->setEnabled(false);
    addList("AttackDefn", monsShownKeyed(side + ".attack_defn")->label, false)->setEnabled(!primary);
    return column;
}

WrappingSpinBox* MonsEditorDialog::spin(const char* name) const
{
    return findChild<WrappingSpinBox*>(QString::fromLatin1(name));
}

QComboBox* MonsEditorDialog::combo(const char* name) const { return findChild<QComboBox*>(QString::fromLatin1(name)); }

void MonsEditorDialog::setValues(const MonsBlock& block, const std::string& shortName, const std::string& description,
                                 std::uint32_t dataLength)
{
    shown_ = block;
    shortName_->setText(latin1Text(upToNul(shortName)));
    description_->setText(latin1Text(upToNul(description)));
    description_->home(false);  // a field narrower than the name shows its start
    dataLength_->setText(QString::number(dataLength));
    for (const MonsNumberField& field : kMonsNumbers)
        spin(field.name)->setValue(block.*field.value);
    for (std::size_t i = 0; i < terrain_.size(); ++i)
        terrain_[i]->setChecked(block.terrain[i]);
    stone_->setChecked(block.stoneFlag);
    (block.healFlag ? heals_ : kills_)->setChecked(true);
    for (const MonsCodeField& field : kMonsCodes)
        fillList(*combo(field.name), block.*field.value, {});
    for (const MonsShownField& field : kMonsShown)
        fillList(*combo(field.name), block.*field.value, {});
}

void MonsEditorDialog::fillCodeLists(const IdsOfType& idsOfType)
{
    for (const MonsCodeField& field : kMonsCodes) {
        const std::string& current = shown_.*field.value;
        const std::string ids = idsOfType ? idsOfType(field.type) : std::string{};
        fillList(*combo(field.name), current, codeChoices(ids, current));
    }
}

std::optional<MonsEditorDialog::Refusal> MonsEditorDialog::refusal() const
{
    for (const MonsNumberField& field : kMonsNumbers) {
        if (!field.checked)
            continue;
        WrappingSpinBox* box = spin(field.name);
        if (box->hasAcceptableInput() && monsInRange(field, box->value()))
            continue;
        return Refusal{box, monsRangeMessage(field)};
    }
    return std::nullopt;
}

bool MonsEditorDialog::checkRanges()
{
    const auto refused = refusal();
    if (!refused)
        return true;
    prompter_.message(refused->message);
    focusRefused(*refused->field);
    refused->field->selectAll();
    return false;
}

std::optional<MonsEditorDialog::Values> MonsEditorDialog::readValues()
{
    if (!checkRanges())
        return std::nullopt;
    return values();
}

std::optional<MonsEditorDialog::Values> MonsEditorDialog::values() const
{
    if (refusal())
        return std::nullopt;
    Values values{shown_, latin1Bytes(shortName_->text()), latin1Bytes(description_->text())};
    MonsBlock& block = values.block;
    for (const MonsNumberField& field : kMonsNumbers)
        if (field.checked)
            block.*field.value = spin(field.name)->value();
    for (std::size_t i = 0; i < terrain_.size(); ++i)
        block.terrain[i] = terrain_[i]->isChecked();
    block.stoneFlag = stone_->isChecked();
    for (const MonsCodeField& field : kMonsCodes)
        block.*field.value = MonsBlock::editedCode(shown_.*field.value, latin1Bytes(combo(field.name)->currentText()));
    return values;
}

void MonsEditorDialog::done(int result)
{
    // OK checks the values like any form, but keeps nothing: only "Save Changes" writes.
    if (result == Accepted && !checkRanges())
        return;
    QDialog::done(result);
}

}  // namespace tagwarden
