#include "gui/editors/mons_editor_dialog.h"

#include <QCheckBox>
#include <QKeyEvent>
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
#include "gui/common/editor_chrome.h"
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

// Puts `text` into a field only where it shows another, so that typing keeps its caret.
void showText(QLineEdit& field, const QString& text)
{
    if (field.text() != text)
        field.setText(text);
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

MonsEditorDialog::MonsEditorDialog(Prompter& prompter, QUndoStack& undoStack) : prompter_(prompter)
{
    setObjectName(QStringLiteral("monsEditorDialog"));
    chrome_ = new EditorChrome(*this, undoStack, kTitle, [this] { emit saveRequested(); });
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(buildTopRow());
    layout->addWidget(buildGeneralGroup());
    layout->addWidget(buildTerrainGroup());
    layout->addWidget(buildAttacksGroup());
    layout->addStretch(1);
    setScrollingContent(*this, content);
    chrome_->takeUndoKeysOf(*content);
    reportEdits();
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
    ok->setAutoDefault(false);
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
    layout->addWidget(chrome_->undoButton());
    layout->addWidget(chrome_->redoButton());
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

void MonsEditorDialog::reportEdits()
{
    // A field reports its name, so that typing in it merges into one step; a
    // click reports none: it is a step of its own.
    const auto report = [this](const QString& field) {
        if (!showing_)
            emit edited(field);
    };
    const auto typed = [report](QWidget* field) { return [field, report] { report(field->objectName()); }; };
    for (QLineEdit* field : {shortName_, description_})
        connect(field, &QLineEdit::textEdited, this, typed(field));
    for (const MonsNumberField& field : kMonsNumbers)
        connect(spin(field.name), &QSpinBox::valueChanged, this, typed(spin(field.name)));
    for (const MonsCodeField& field : kMonsCodes)
        connect(combo(field.name), &QComboBox::currentTextChanged, this, typed(combo(field.name)));
    for (QCheckBox* box : terrain_)
        connect(box, &QCheckBox::toggled, this, [report] { report({}); });
    connect(stone_, &QCheckBox::toggled, this, [report] { report({}); });
}

void MonsEditorDialog::showValues(const Values& values, std::uint32_t dataLength)
{
    showing_ = true;
    const MonsBlock& block = values.block;
    showText(*shortName_, latin1Text(upToNul(values.shortName)));
    if (description_->text() != latin1Text(upToNul(values.description))) {
        description_->setText(latin1Text(upToNul(values.description)));
        description_->home(false);  // a field narrower than the name shows its start
    }
    showText(*dataLength_, QString::number(dataLength));
    for (const MonsNumberField& field : kMonsNumbers)
        if (spin(field.name)->value() != block.*field.value)
            spin(field.name)->setValue(block.*field.value);
    for (std::size_t i = 0; i < terrain_.size(); ++i)
        terrain_[i]->setChecked(block.terrain[i]);
    stone_->setChecked(block.stoneFlag);
    (block.healFlag ? heals_ : kills_)->setChecked(true);
    for (const MonsCodeField& field : kMonsCodes) {
        QComboBox& box = *combo(field.name);
        const QString code = latin1Text(upToNul(block.*field.value));
        if (box.count() == 0)
            fillList(box, block.*field.value, {});
        else if (box.currentText() != code)
            box.setEditText(code);
    }
    for (const MonsShownField& field : kMonsShown)
        fillList(*combo(field.name), block.*field.value, {});
    showing_ = false;
}

void MonsEditorDialog::fillCodeLists(const IdsOfType& idsOfType, const MonsBlock& block)
{
    showing_ = true;
    for (const MonsCodeField& field : kMonsCodes) {
        const std::string& current = block.*field.value;
        const std::string ids = idsOfType ? idsOfType(field.type) : std::string{};
        fillList(*combo(field.name), current, codeChoices(ids, current));
    }
    showing_ = false;
}

bool MonsEditorDialog::inRange(const Values& values)
{
    return std::all_of(std::begin(kMonsNumbers), std::end(kMonsNumbers), [&values](const MonsNumberField& field) {
        return !field.checked || monsInRange(field, values.block.*field.value);
    });
}

bool MonsEditorDialog::checkRanges(const Values& values)
{
    for (const MonsNumberField& field : kMonsNumbers) {
        if (!field.checked || monsInRange(field, values.block.*field.value))
            continue;
        prompter_.message(monsRangeMessage(field));
        WrappingSpinBox* box = spin(field.name);
        focusRefused(*box);
        box->selectAll();
        return false;
    }
    return true;
}

MonsEditorDialog::Values MonsEditorDialog::valuesOver(const Values& current) const
{
    Values values{current.block, editedText(current.shortName, latin1Bytes(shortName_->text())),
                  editedText(current.description, latin1Bytes(description_->text()))};
    MonsBlock& block = values.block;
    for (const MonsNumberField& field : kMonsNumbers)
        if (field.checked)
            block.*field.value = spin(field.name)->value();
    for (std::size_t i = 0; i < terrain_.size(); ++i)
        block.terrain[i] = terrain_[i]->isChecked();
    block.stoneFlag = stone_->isChecked();
    for (const MonsCodeField& field : kMonsCodes)
        block.*field.value = MonsBlock::editedCode(current.block.*field.value, latin1Bytes(combo(field.name)->currentText()));
    return values;
}

void MonsEditorDialog::setFilePath(const std::string& path) { chrome_->setFilePath(path); }

void MonsEditorDialog::done(int result)
{
    if (raiseRunningDialog())
        return;
    if (closeHandler_ && !closeHandler_(result == Accepted))
        return;
    QDialog::done(result);
}

void MonsEditorDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tagwarden
