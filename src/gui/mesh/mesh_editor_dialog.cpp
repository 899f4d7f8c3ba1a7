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
#include "gui/common/editor_chrome.h"
#include "gui/common/editor_widgets.h"
#include "gui/common/latin1_text.h"
#include "gui/mesh/buddy_spin.h"
#include "gui/mesh/mesh_commands.h"
#include "gui/mesh/mesh_form_fields.h"
#include "gui/mesh/mesh_session.h"

namespace tagwarden {

namespace {

constexpr const char* kConfirmText =
    "WARNING: You are about to write changes to disk.\nClick on OK to confirm or Cancel to return to the editor.";
constexpr const char* kTitle = "Tagwarden - MESH editor";
constexpr int kCodeWidth = 4;
// Merge ids of the text fields' steps: the map name, the description, then the codes in order.
constexpr int kMapNameField = 1;
constexpr int kDescriptionField = 2;
constexpr int kFirstCodeField = 3;

std::string_view headerText(const TagHeaderBytes& header, TagField field) { return upToNul(fieldText(header, field)); }

// The field's text into its zero-padded place in the tag header. A text that reads
// as the file's keeps the file's bytes, those behind its first zero byte included.
void putText(TagHeaderBytes& header, const TagHeaderBytes& saved, TagField field, const QLineEdit& edit)
{
    if (edit.text() != latin1Text(headerText(saved, field))) {
        setFieldText(header, field, latin1Bytes(edit.text()));
        return;
    }
    const auto offset = static_cast<std::ptrdiff_t>(field.offset);
    std::copy_n(saved.begin() + offset, field.width, header.begin() + offset);
}

// Sets the field's text unless it shows that already, so that the cursor stays.
void showText(QLineEdit& field, const QString& text)
{
    if (field.text() != text)
        field.setText(text);
}

}  // namespace

MeshEditorDialog::MeshEditorDialog(MeshSession& session, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Tool), session_(session), model_(session.model()), prompter_(prompter),
      saved_(session.model().headers())
{
    setObjectName(QStringLiteral("meshEditorDialog"));
    chrome_ = new EditorChrome(*this, session.stack(), kTitle, [this] { (void)save(); });
    chrome_->setFilePath(model_.file().path());
    chrome_->holdWhile([&session] { return session.raiseRunningDialog(); });
    session.addWindow(*this);

    auto* fields = new QVBoxLayout;
    fields->addWidget(makeUpperBox());
    fields->addWidget(makeLowerBox(), 1);
    auto* content = new QWidget;
    auto* layout = new QHBoxLayout(content);
    layout->addLayout(fields, 1);
    layout->addWidget(makeSide());
    setScrollingContent(*this, content, {}, makeButtons());
    chrome_->takeUndoKeysOf(*this);
    showModel();

    const auto follow = [this](QLineEdit* field, int id) {
        connect(field, &QLineEdit::textChanged, this, [this, id] { edited(id); });
    };
    follow(mapName_, kMapNameField);
    follow(description_, kDescriptionField);
    int id = kFirstCodeField;
    for (const auto& [code, field] : codes_)
        follow(field, id++);
    follow(maxTeams_, id);
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(single_), static_cast<QAbstractButton*>(multi_)})
        connect(button, &QAbstractButton::toggled, this, [this] { edited(0); });
    for (QCheckBox* game : gameTypes_)
        connect(game, &QCheckBox::toggled, this, [this] { edited(0); });
    connect(&session, &MeshSession::modelChanged, this, &MeshEditorDialog::showModel);
}

QWidget* MeshEditorDialog::makeUpperBox()
{
    mapName_ = makeTextField("mapName", kCodeWidth);
    description_ = makeTextField("description", static_cast<int>(tag_header::kName.width));
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
    auto* playerRow = new QHBoxLayout(players);
    playerRow->addWidget(single_);
    playerRow->addWidget(multi_);

    auto* games = new QGroupBox(QStringLiteral("Available Multi-Player Games"));
    auto* gameColumn = new QVBoxLayout(games);
    for (std::size_t bit = 0; bit < gameTypes_.size(); ++bit) {
        gameTypes_[bit] = new QCheckBox(QString::fromLatin1(meshGameLabel(bit)));
        gameTypes_[bit]->setObjectName(QStringLiteral("gameType%1").arg(bit));
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
    column->addWidget(chrome_->undoButton());
    column->addWidget(chrome_->redoButton());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    connect(buttons, &QDialogButtonBox::accepted, this, &MeshEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MeshEditorDialog::reject);
    column->addWidget(buttons);
    return side;
}

void MeshEditorDialog::accept()
{
    if (session_.raiseRunningDialog())
        return;
    if (prompter_.message(kConfirmText, Prompter::Buttons::OkCancel, Prompter::Icon::Exclamation, "Confirm Save") ==
        Prompter::Answer::Cancel)
        return;
    // After a failed write the form stays open, so the save can be tried again.
    if (save())
        QDialog::accept();
}

void MeshEditorDialog::reject()
{
    if (session_.raiseRunningDialog())
        return;
    session_.discardChanges();
    QDialog::reject();
}

bool MeshEditorDialog::save()
{
    if (!readNumber(*maxTeams_, kInt32Range, prompter_))
        return false;
    const Reported<bool> written = model_.writeMap(prompter_);
    if (written.value) {
        saved_ = model_.headers();
        session_.stack().setClean();
    }
    showNotices(prompter_, written.notices);
    return written.value;
}

bool MeshEditorDialog::holdsRefusedNumber() const { return !numberIn(*maxTeams_, kInt32Range); }

void MeshEditorDialog::edited(int field)
{
    if (showing_)
        return;
    MeshHeaders after = model_.headers();
    fromForm(after);
    if (after == model_.headers())
        return;
    // The fields show this step already.
    showing_ = true;
    session_.stack().push(headersEdited(model_, after, field));
    showing_ = false;
}

void MeshEditorDialog::showModel()
{
    if (showing_)
        return;
    showing_ = true;
    const MeshHeaders headers = model_.headers();
    showText(*mapName_, latin1Text(headerText(headers.tag, tag_header::kId)));
    showText(*description_, latin1Text(headerText(headers.tag, tag_header::kName)));
    for (const auto& [code, field] : codes_)
        showText(*field, latin1Text(codeText(headers.map.code(code))));
    const std::int32_t maxTeams = headers.map.number(kMeshMaxTeams.field);
    showText(*maxTeams_, QString::number(maxTeams));
    if (auto* arrows = findChild<BuddySpin*>())
        arrows->setPosition(maxTeams & 0xFFFF);
    const bool singlePlayer = (headers.map.number(MeshNumber::playerFlags) & kMeshSinglePlayer) != 0;
    (singlePlayer ? single_ : multi_)->setChecked(true);
    const std::int32_t gameTypes = headers.map.number(MeshNumber::gameTypes);
    for (std::size_t bit = 0; bit < gameTypes_.size(); ++bit)
        gameTypes_[bit]->setChecked((gameTypes >> bit) & 1);
    showing_ = false;
}

void MeshEditorDialog::fromForm(MeshHeaders& headers) const
{
    MeshHeader& header = headers.map;
    for (const auto& [code, field] : codes_)
        header.setCode(code, editedCode(saved_.map.code(code), latin1Bytes(field->text())));
    if (const auto maxTeams = numberIn(*maxTeams_, kInt32Range))
        header.setNumber(MeshNumber::maxTeams, *maxTeams);

    putText(headers.tag, saved_.tag, tag_header::kId, *mapName_);
    putText(headers.tag, saved_.tag, tag_header::kName, *description_);

    std::int32_t gameTypes = header.number(MeshNumber::gameTypes) & ~kMeshGameTypeBits;
    for (std::size_t bit = 0; bit < gameTypes_.size(); ++bit)
        if (gameTypes_[bit]->isChecked())
            gameTypes |= 1 << bit;
    header.setNumber(MeshNumber::gameTypes, gameTypes);
    const std::int32_t playerFlags = header.number(MeshNumber::playerFlags) & ~kMeshSinglePlayer;
    header.setNumber(MeshNumber::playerFlags, playerFlags | (single_->isChecked() ? kMeshSinglePlayer : 0));
}

}  // namespace tagwarden
