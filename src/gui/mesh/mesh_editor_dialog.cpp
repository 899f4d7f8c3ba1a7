#include "gui/mesh/mesh_editor_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/mesh/mesh_code.h"
#include "core/mesh/mesh_form.h"
#include "core/mesh/mesh_model.h"
#include "core/tags/tag_header.h"
#include "core/tags/tag_text.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/latin1_text.h"
#include "gui/mesh/mesh_form_fields.h"

namespace tagwarden {

namespace {

constexpr const char* kConfirmText =
    "WARNING: You are about to write changes to disk.\nClick on OK to confirm or Cancel to return to the editor.";
constexpr int kCodeWidth = 4;

std::string_view headerText(const TagHeaderBytes& header, TagField field) { return upToNul(fieldText(header, field)); }

// The field's text into its zero-padded place in the tag header. A text left as
// shown keeps every byte, those behind its first zero byte included.
void putText(TagHeaderBytes& header, TagField field, const QLineEdit& edit)
{
    if (edit.text() != latin1Text(headerText(header, field)))
        setFieldText(header, field, latin1Bytes(edit.text()));
}

}  // namespace

MeshEditorDialog::MeshEditorDialog(MeshModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), model_(model), prompter_(prompter)
{
    setObjectName(QStringLiteral("meshEditorDialog"));
    setWindowTitle(QStringLiteral("Tagwarden - MESH editor"));

    auto* fields = new QVBoxLayout;
    fields->addWidget(makeUpperBox());
    fields->addWidget(makeLowerBox(), 1);
    auto* content = new QWidget;
    auto* layout = new QHBoxLayout(content);
    layout->addLayout(fields, 1);
    layout->addWidget(makeSide());
    setScrollingContent(*this, content, {}, makeButtons());
}

QWidget* MeshEditorDialog::makeUpperBox()
{
    const TagHeaderBytes& header = model_.tagHeader();
    mapName_ = makeTextField("mapName", kCodeWidth);
    mapName_->setText(latin1Text(headerText(header, tag_header::kId)));
    description_ = makeTextField("description", static_cast<int>(tag_header::kName.width));
    description_->setText(latin1Text(headerText(header, tag_header::kName)));
    auto* box = new QGroupBox;
    auto* form = new QFormLayout(box);
    form->addRow(labelFor(mapName_, QStringLiteral("Map Name")), mapName_);
    form->addRow(labelFor(description_, QStringLiteral("Description")), description_);
    return box;
}

void MeshEditorDialog::addCodeRows(QFormLayout& form, std::span<const MeshCodeRow> rows)
{
    for (const MeshCodeRow& row : rows) {
        QLineEdit* field = makeTextField(row.name, row.maxLength);
        field->setText(latin1Text(codeText(model_.header().code(row.code))));
        form.addRow(labelFor(field, QString::fromLatin1(row.label)), field);
        codes_.emplace_back(row.code, field);
    }
}

void MeshEditorDialog::addShownNumberRow(QFormLayout& form, const MeshNumberRow& row)
{
    QLineEdit* number = makeReadOnlyField(row.name, QString::number(model_.header().number(row.field)));
    form.addRow(labelFor(number, QString::fromLatin1(row.label)), number);
}

QWidget* MeshEditorDialog::makeLowerBox()
{
    auto* left = new QFormLayout;
    addCodeRows(*left, kMeshLeftCodes);
    auto* right = new QFormLayout;
    addCodeRows(*right, kMeshRightCodes);
    // The cell grid and the data area are written as read: their numbers cannot change.
    for (const MeshNumberRow& row : kMeshShownNumbers)
        addShownNumberRow(*right, row);
    const std::int32_t maxTeams = model_.header().number(kMeshMaxTeams.field);
    maxTeams_ = makeNumberField(kMeshMaxTeams.name, maxTeams);
    QLabel* maxTeamsLabel = labelFor(maxTeams_, QString::fromLatin1(kMeshMaxTeams.label));
    right->addRow(maxTeamsLabel, withArrows(maxTeams_, 2, 10, maxTeams & 0xFFFF));
    addCodeRows(*right, std::span(&kMeshNextLevel, 1));

    auto* box = new QGroupBox;
    auto* columns = new QHBoxLayout(box);
    columns->addLayout(left);
    columns->addSpacing(12);
    columns->addLayout(right);
    return box;
}

QWidget* MeshEditorDialog::makeSide()
{
    auto* players = new QGroupBox(QStringLiteral("Player(s)"));
    single_ = new QRadioButton(QString::fromLatin1(kMeshSingleLabel));
    single_->setObjectName(QStringLiteral("single"));
    multi_ = new QRadioButton(QString::fromLatin1(kMeshMultiLabel));
    multi_->setObjectName(QStringLiteral("multi"));
    const bool singlePlayer = (model_.header().number(MeshNumber::playerFlags) & kMeshSinglePlayer) != 0;
    (singlePlayer ? single_ : multi_)->setChecked(true);
    auto* playerRow = new QHBoxLayout(players);
    playerRow->addWidget(single_);
    playerRow->addWidget(multi_);

    auto* games = new QGroupBox(QStringLiteral("Available Multi-Player Games"));
    auto* gameColumn = new QVBoxLayout(games);
    const std::int32_t gameTypes = model_.header().number(MeshNumber::gameTypes);
    for (std::size_t bit = 0; bit < gameTypes_.size(); ++bit) {
        gameTypes_[bit] = new QCheckBox(QString::fromLatin1(meshGameLabel(bit)));
        gameTypes_[bit]->setObjectName(QStringLiteral("gameType%1").arg(bit));
        gameTypes_[bit]->setChecked((gameTypes >> bit) & 1);
        gameColumn->addWidget(gameTypes_[bit]);
    }

    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(players);
    column->addWidget(games);
    column->addStretch();
    return side;
}

QWidget* MeshEditorDialog::makeButtons()
{
    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    // Kept for the familiar layout; there is nothing behind them.
    for (const char* text : {"View Mesh", "View Scripting"}) {
        auto* unused = new QPushButton(QString::fromLatin1(text));
        unused->setEnabled(false);
        column->addWidget(unused);
    }
    auto* viewItems = new QPushButton(QStringLiteral("View Items"));
    viewItems->setObjectName(QStringLiteral("viewItems"));
    viewItems->setAutoDefault(false);
    connect(viewItems, &QPushButton::clicked, this, &MeshEditorDialog::viewItemsRequested);
    column->addWidget(viewItems);
    auto* itemMap = new QPushButton(QStringLiteral("Item Map"));
    itemMap->setObjectName(QStringLiteral("itemMap"));
    itemMap->setAutoDefault(false);
    itemMap->setToolTip(QStringLiteral("Show where the placed items stand"));
    connect(itemMap, &QPushButton::clicked, this, &MeshEditorDialog::itemMapRequested);
    column->addWidget(itemMap);
    column->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    connect(buttons, &QDialogButtonBox::accepted, this, &MeshEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MeshEditorDialog::reject);
    column->addWidget(buttons);
    return side;
}

void MeshEditorDialog::accept()
{
    if (prompter_.message(kConfirmText, Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation, "Confirm Save") ==
        Prompter::Answer::Cancel)
        return;
    // After a failed write the form stays open, so the save can be tried again.
    if (save())
        QDialog::accept();
}

bool MeshEditorDialog::save()
{
    const auto maxTeams = readNumber(*maxTeams_, kInt32Range, prompter_);
    if (!maxTeams)
        return false;
    fromForm(*maxTeams, model_.header(), model_.tagHeader());
    const Reported<bool> written = model_.writeMap(prompter_);
    showNotices(prompter_, written.notices);
    return written.value;
}

bool MeshEditorDialog::hasUnsavedChanges() const
{
    const auto maxTeams = numberIn(*maxTeams_, kInt32Range);
    if (!maxTeams)
        return true;
    MeshHeader header = model_.header();
    TagHeaderBytes tagHeader = model_.tagHeader();
    fromForm(*maxTeams, header, tagHeader);
    return model_.writeChanges(tagHeader, header);
}

void MeshEditorDialog::fromForm(std::int32_t maxTeams, MeshHeader& header, TagHeaderBytes& tagHeader) const
{
    for (const auto& [code, field] : codes_)
        header.setCode(code, editedCode(header.code(code), latin1Bytes(field->text())));
    header.setNumber(MeshNumber::maxTeams, maxTeams);

    putText(tagHeader, tag_header::kId, *mapName_);
    putText(tagHeader, tag_header::kName, *description_);

    std::int32_t gameTypes = header.number(MeshNumber::gameTypes) & ~kMeshGameTypeBits;
    for (std::size_t bit = 0; bit < gameTypes_.size(); ++bit)
        if (gameTypes_[bit]->isChecked())
            gameTypes |= 1 << bit;
    header.setNumber(MeshNumber::gameTypes, gameTypes);
    const std::int32_t playerFlags = header.number(MeshNumber::playerFlags) & ~kMeshSinglePlayer;
    header.setNumber(MeshNumber::playerFlags, playerFlags | (single_->isChecked() ? kMeshSinglePlayer : 0));
}

}  // namespace tagwarden
