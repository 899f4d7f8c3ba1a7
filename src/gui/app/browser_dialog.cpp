#include "gui/app/browser_dialog.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

#include "core/io/file_error.h"
#include "core/prompt/prompter.h"
#include "core/tags/directory_reader.h"
#include "gui/app/about_dialog.h"
#include "gui/app/dialog_controls.h"
#include "gui/app/object_list_model.h"
#include "gui/app/tab_order.h"
#include "gui/editors/mons_editor.h"
#include "gui/editors/stli_editor.h"
#include "gui/mesh/mesh_editor.h"
#include "gui/settings/settings_dialog.h"
#include "gui/tags/header_dialog.h"
#include "gui/tags/progress_dialog.h"
#include "gui/viewer/object_viewer_dialog.h"

namespace tagwarden {

namespace {

constexpr const char* kOpenFilter = "Vorn Tag Files (*.gor)|*.gor|Plug-Ins|*|All Files (*.*)|*.*||";
constexpr const char* kClearNotice =
    "You are about to clear all \ndirectory entries from memory. \nClick on OK to continue or Cancel to abort";
constexpr const char* kNoSelectionMessage = "Not a Valid Selection";
constexpr const char* kNoEntriesStatus = "No Object Directory Entries";
#ifdef Q_OS_WIN
constexpr unsigned kAboutCommand = 16;  // a system command number: its low four bits are the system's
#endif

}  // namespace

BrowserDialog::BrowserDialog(SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), settings_(settings), prompter_(prompter)
{
    setObjectName(QStringLiteral("browser_dialog"));
    setWindowTitle(QStringLiteral("Tagwarden"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    directory_.setObserver(this);
    buildControls();
    addAboutToSystemMenu();

    settingsDialog_ = std::make_unique<SettingsDialog>(settings_, prompter_);
    settingsDialog_->initialiseSettings();
}

BrowserDialog::~BrowserDialog() = default;

void BrowserDialog::buildControls()
{
    auto* exitButton = dialogButton(QStringLiteral("Exit"), "exit_button", this);
    exitButton->setDefault(true);
    auto* openButton = dialogButton(QStringLiteral("Open a File"), "open_button", this);
    auto* filterLabel = new QLabel(QStringLiteral("Show Objects of Type:"), this);
    filter_ = new QComboBox(this);
    filter_->setObjectName(QStringLiteral("type_filter"));
    filter_->setMinimumContentsLength(6);
    filter_->addItem(QStringLiteral("All"));
    filterLabel->setBuddy(filter_);

    model_ = new ObjectListModel(directory_, this);
    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("object_list"));
    list_->setModel(model_);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Fixed pitch: the four-character ids and the " : " line up down the list.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setMinimumSize(340, 300);

    auto* headerButton = dialogButton(QStringLiteral("Object Header"), "object_header_button", this);
    auto* dataButton = dialogButton(QStringLiteral("Object Data"), "object_data_button", this);
    auto* meshButton = dialogButton(QStringLiteral("Edit MESH File"), "edit_mesh_button", this);
    auto* stliButton = dialogButton(QStringLiteral("Edit STLI File"), "edit_stli_button", this);
    auto* monsButton = dialogButton(QStringLiteral("Edit mons File"), "edit_mons_button", this);
    auto* settingsButton = dialogButton(QStringLiteral("Settings"), "settings_button", this);
    auto* dumpButton = dialogButton(QStringLiteral("Dump Map"), "dump_map_button", this);
    auto* aboutButton = dialogButton(QStringLiteral("&About..."), "about_button", this);
    auto* cancelButton = dialogButton(QStringLiteral("Cancel"), "cancel_button", this);
    cancelButton->setEnabled(false);
    cancelButton->hide();

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("status_line"));
    statusLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusLine_->setMinimumHeight(statusLine_->fontMetrics().height() + 6);

    auto* top = new QHBoxLayout;
    top->addWidget(exitButton);
    top->addWidget(openButton);
    top->addStretch();
    top->addWidget(filterLabel);
    top->addWidget(filter_);

    auto* column = new QVBoxLayout;
    for (QPushButton* b : {headerButton, dataButton, meshButton, stliButton, monsButton, settingsButton, dumpButton})
        column->addWidget(b);
    column->addStretch();
    column->addWidget(aboutButton);

    auto* layout = new QGridLayout(this);
    layout->addLayout(top, 0, 0, 1, 2);
    layout->addWidget(list_, 1, 0);
    layout->addLayout(column, 1, 1);
    layout->addWidget(statusLine_, 2, 0, 1, 2);
    layout->addWidget(cancelButton, 3, 0);

    chainTabOrder({openButton, filter_, headerButton, dataButton, settingsButton, list_, dumpButton, exitButton,
                 aboutButton, monsButton, stliButton, meshButton});

    connect(exitButton, &QPushButton::clicked, this, &BrowserDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &BrowserDialog::reject);
    connect(openButton, &QPushButton::clicked, this, &BrowserDialog::onOpen);
    connect(headerButton, &QPushButton::clicked, this, &BrowserDialog::onObjectHeader);
    connect(dataButton, &QPushButton::clicked, this, &BrowserDialog::onObjectData);
    connect(settingsButton, &QPushButton::clicked, this, &BrowserDialog::onSettings);
    connect(dumpButton, &QPushButton::clicked, this, &BrowserDialog::onDumpMap);
    connect(aboutButton, &QPushButton::clicked, this, &BrowserDialog::onAbout);
    connect(monsButton, &QPushButton::clicked, this, &BrowserDialog::onEditMons);
    connect(stliButton, &QPushButton::clicked, this, &BrowserDialog::onEditStli);
    connect(meshButton, &QPushButton::clicked, this, &BrowserDialog::onEditMesh);
    connect(list_, &QListView::doubleClicked, this, &BrowserDialog::onObjectHeader);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BrowserDialog::onListSelectionChanged);
    connect(filter_, &QComboBox::currentIndexChanged, this, &BrowserDialog::onFilterChanged);
}

// Only Windows gives a dialog a system menu; elsewhere "&About..." is the way in.
void BrowserDialog::addAboutToSystemMenu()
{
#ifdef Q_OS_WIN
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (!menu)
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, L"&About Tagwarden...");
#endif
}

#ifdef Q_OS_WIN
bool BrowserDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kAboutCommand) {
        onAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

void BrowserDialog::setStatus(const std::string& text)
{
    status_ = QString::fromLatin1(text);
    statusLine_->setText(status_);
}

void BrowserDialog::refillTypeFilter()
{
    // Refilling is not a choice of the user: the list stays as it is.
    const QSignalBlocker quiet(filter_);
    filter_->clear();
    filter_->addItem(QStringLiteral("All"));
    filter_->setCurrentIndex(0);
    const std::vector<TypeGroup>& groups = directory_.typeGroups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string& type = groups[g].type;
        filter_->addItem(QString::fromLatin1(type.c_str()), QVariant::fromValue(g));
    }
}

void BrowserDialog::closeFile()
{
    if (file_.isOpen())
        file_.close();
    archiveOpen_ = false;
}

void BrowserDialog::releaseEditors()
{
    unitEditor_.reset();
    unitEditorOpen_ = false;
    stringListEditor_.reset();
    stringListEditorOpen_ = false;
    mapEditor_.reset();
    settingsDialog_.reset();
}

void BrowserDialog::clearDirectory()
{
    model_->clear();
    sortedAll_.clear();
    sortedAll_.shrink_to_fit();
    directory_.clearAll();
}

void BrowserDialog::addListLine(std::size_t index)
{
    pendingLines_.push_back(static_cast<std::uint32_t>(index));
}

void BrowserDialog::onOpen()
{
    Prompter::FileRequest request;
    request.initialName = settingsDialog_->getTagsDirectory() + "tags.gor";
    request.filter = kOpenFilter;
    const std::optional<std::string> chosen = prompter_.chooseFile(request);
    if (!chosen)
        return;
    // Clearing empties the list as well; Cancel keeps file, list and filter as they are.
    if (file_.isOpen()) {
        if (!clearWithNotice())
            return;
        closeFile();
    }
    path_ = *chosen;
    fileName_ = std::filesystem::path(path_).filename().string();
    archiveOpen_ = true;
    try {
        file_ = File(path_, File::Access::Read, File::Share::None);
    } catch (const FileError& error) {
        reportFileError(error);
        return;
    }
    readOpenFile();
}

bool BrowserDialog::clearWithNotice()
{
    if (prompter_.message(kClearNotice, Prompter::Buttons::OkCancel) == Prompter::Answer::Cancel)
        return false;
    clearDirectory();
    refillTypeFilter();
    return true;
}

void BrowserDialog::readOpenFile()
{
    ReadOutcome outcome{};
    try {
        ProgressDialog progress(this);
        outcome = readDirectory(directory_, file_, &progress);
    } catch (const FileError& error) {
        // What was read before the error stays listed.
        finishListing();
        reportFileError(error);
        return;
    }
    finishListing();
    if (outcome == ReadOutcome::NoDirectory)
        prompter_.message(kNoDirectoryMessage);
    refillTypeFilter();
}

void BrowserDialog::finishListing()
{
    model_->setLines(std::move(pendingLines_));
    pendingLines_ = {};
    sortedAll_ = model_->lines();
}

void BrowserDialog::reportFileError(const FileError& error)
{
    prompter_.message(error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error);
}

void BrowserDialog::refillObjectList()
{
    const QVariant group = filter_->currentData();
    if (!group.isValid()) {
        model_->setSortedLines(sortedAll_);
        return;
    }
    // A type lists its group's members: the "All" order restricted to them is their sorted order.
    std::vector<char> isMember(directory_.entryCount(), 0);
    const TypeGroup& members = directory_.typeGroups().at(group.value<std::size_t>());
    for (const GroupMember& member : members.members)
        isMember[static_cast<std::size_t>(member.index)] = 1;
    std::vector<std::uint32_t> lines;
    lines.reserve(members.members.size());
    for (const std::uint32_t index : sortedAll_)
        if (isMember[index])
            lines.push_back(index);
    model_->setSortedLines(std::move(lines));
}

void BrowserDialog::onFilterChanged()
{
    refillObjectList();
    setStatus(filter_->currentText().toLatin1().toStdString() + " Objects");
}

void BrowserDialog::onListSelectionChanged()
{
    if (selectingSilently_)
        return;
    const int count = model_->rowCount();
    if (count == 0) {
        setStatus(kNoEntriesStatus);
        return;
    }
    selectedIndex_ = selectedRow().value_or(-1);
    setStatus(filter_->currentText().toLatin1().toStdString() + " objects - " + std::to_string(selectedIndex_ + 1) +
              "/" + std::to_string(count) + " entries");
}

std::optional<int> BrowserDialog::selectedRow() const
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.constFirst().row();
}

TagEntry BrowserDialog::entryOfRow(int row) const { return directory_.entryAt(model_->entryIndexAt(row)); }

void BrowserDialog::onObjectHeader()
{
    const std::optional<int> row = selectedRow();
    if (!row) {
        if (model_->rowCount() > 0) {
            selectingSilently_ = true;
            list_->setCurrentIndex(model_->index(0));
            selectingSilently_ = false;
        }
        return;
    }
    HeaderDialog dialog(prompter_, this);
    dialog.fillFromEntry(entryOfRow(*row));
    dialog.exec();
}

void BrowserDialog::onObjectData()
{
    const std::optional<int> row = selectedRow();
    if (!row) {
        prompter_.message(kNoSelectionMessage);
        return;
    }
    ObjectViewerDialog viewer(entryOfRow(*row), file_, path_, settings_, prompter_, this);
    viewer.exec();
}

void BrowserDialog::onSettings() { settingsDialog_->exec(); }

void BrowserDialog::onDumpMap()
{
    const int selection = filter_->currentIndex();
    prompter_.message(directory_.dumpMapText(selection < 0 ? std::nullopt
                                                           : std::optional<std::size_t>(selection)));
}

void BrowserDialog::onAbout()
{
    AboutDialog about(this);
    about.exec();
}

void BrowserDialog::onEditMons()
{
    // A second press replaces the editor: the old one closes its file and form first.
    unitEditor_.reset();
    unitEditor_ = std::make_unique<MonsEditor>(settings_, prompter_,
                                               [this](const std::string& type) { return idsOfType(type); });
    unitEditorOpen_ = unitEditor_->start();
}

void BrowserDialog::onEditStli()
{
    stringListEditor_.reset();
    stringListEditor_ = std::make_unique<StliEditor>(settings_, prompter_);
    stringListEditorOpen_ = stringListEditor_->start();
}

void BrowserDialog::onEditMesh()
{
    mapEditor_.reset();
    mapEditor_ = std::make_unique<MeshEditor>(settings_, prompter_);
    mapEditor_->start();
}

}  // namespace tagwarden
