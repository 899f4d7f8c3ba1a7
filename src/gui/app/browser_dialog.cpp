#include "gui/app/browser_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>
#include <unordered_set>
#include <utility>

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

#include "core/io/file_error.h"
#include "core/prompt/prompter.h"
#include "core/settings/recent_files.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_text.h"
#include "core/viewer/extraction_batch.h"
#include "core/viewer/plug_in_extraction.h"
#include "core/viewer/proposed_folder.h"
#include "gui/app/about_dialog.h"
#include "gui/common/dialog_controls.h"
#include "gui/compare/compare_dialog.h"
#include "gui/common/editor_chrome.h"
#include "gui/common/fixed_font.h"
#include "gui/app/object_list_model.h"
#include "gui/app/open_archives.h"
#include "gui/common/tab_order.h"
#include "gui/editors/mons_editor.h"
#include "gui/editors/stli_editor.h"
#include "gui/mesh/mesh_editor.h"
#include "gui/settings/settings_dialog.h"
#include "gui/tags/dump_map_dialog.h"
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
// Where the window's size and place are kept between runs.
constexpr const char* kWindowSection = "Window";
constexpr const char* kGeometryKey = "Geometry";
constexpr const char* kListColumnsKey = "ListColumns";
constexpr const char* kExtractTitle = "Extract Selected: folder for TYPE/ID";

// The object table; typing on it jumps by the ID column, whichever cell is current.
class ObjectTableView : public QTableView {
public:
    using QTableView::QTableView;

    void keyboardSearch(const QString& search) override
    {
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.column() != ObjectListModel::IdColumn)
            selectionModel()->setCurrentIndex(current.siblingAtColumn(ObjectListModel::IdColumn),
                                              QItemSelectionModel::NoUpdate);
        QTableView::keyboardSearch(search);
    }
};

// Every "TYPE/ID" file below `local`, as the object table marks plug-ins.
std::unordered_set<std::string> plugInsUnder(const std::filesystem::path& local)
{
    namespace fs = std::filesystem;
    std::unordered_set<std::string> found;
    std::error_code error;
    for (fs::directory_iterator type(local, error), end; !error && type != end; type.increment(error)) {
        std::error_code inner;
        if (!type->is_directory(inner))
            continue;
        for (fs::directory_iterator id(type->path(), inner); !inner && id != end; id.increment(inner))
            found.insert(type->path().filename().string() + '/' + id->path().filename().string());
    }
    return found;
}

// The one local file of a drop, or nothing when the drop holds anything else.
std::optional<std::string> droppedFile(const QMimeData& data)
{
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return std::nullopt;
    return urls.constFirst().toLocalFile().toLocal8Bit().toStdString();
}

// The tag types that have an editor.
enum class EditableType { Unit, StringList, Map };

std::optional<EditableType> editableType(const TagEntry& entry)
{
    const std::string_view type = upToNul(entry.type());
    if (type == "mons")
        return EditableType::Unit;
    if (type == "stli")
        return EditableType::StringList;
    if (type == "mesh")
        return EditableType::Map;
    return std::nullopt;
}

// Settles one editor's unsaved work: true when it may close now.
template <typename Editor>
bool settle(Editor* editor, const char* kind, Prompter& prompter)
{
    if (!editor || !editor->hasUnsavedChanges())
        return true;
    switch (askAboutUnsavedWork(prompter, kind, editor->filePath())) {
    case Prompter::Answer::Save:
        return editor->saveChanges();
    case Prompter::Answer::Discard:
        return true;
    default:
        return false;
    }
}

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
    enableFileCommands();
    addAboutToSystemMenu();
    setAcceptDrops(true);

    settingsDialog_ = std::make_unique<SettingsDialog>(settings_, prompter_, this);
    settingsDialog_->initialiseSettings();
    restoreWindowGeometry();
}

BrowserDialog::~BrowserDialog() = default;

// Each command of the window: its button (and menu item) text, the button's
// object name, what its tool tip says, and what it does.
struct BrowserDialog::Command {
    const char* text;
    const char* objectName;
    const char* tip;
    void (BrowserDialog::*slot)();
};

const BrowserDialog::Command BrowserDialog::kCommands[] = {
    {"Exit", "exit_button", "Close the open file and the editors and end Tagwarden", &BrowserDialog::accept},
    {"&Open a File", "open_button", "Open a tag archive (tags.gor) or a plug-in and list its objects",
     &BrowserDialog::onOpen},
    {"Object Header", "object_header_button", "Show the 64-byte header of the selected object",
     &BrowserDialog::onObjectHeader},
    {"Object Data", "object_data_button", "Show the selected object's data and extract it as a plug-in",
     &BrowserDialog::onObjectData},
    {"Edit MESH File", "edit_mesh_button", "Edit a map plug-in (local/mesh/)", &BrowserDialog::onEditMesh},
    {"Edit STLI File", "edit_stli_button", "Edit a string-list plug-in (local/stli/)", &BrowserDialog::onEditStli},
    {"Edit mons File", "edit_mons_button", "Edit a unit plug-in (local/mons/)", &BrowserDialog::onEditMons},
    {"Settings", "settings_button", "The tags directory, the backup directory and the switches",
     &BrowserDialog::onSettings},
    {"Dump Map", "dump_map_button", "List the ids of every type shown, with their entry numbers",
     &BrowserDialog::onDumpMap},
    {"&About...", "about_button", "Version of Tagwarden", &BrowserDialog::onAbout},
};

QPushButton* BrowserDialog::commandButton(const char* objectName)
{
    for (const Command& command : kCommands) {
        if (std::string_view(command.objectName) != objectName)
            continue;
        auto* button = dialogButton(QString::fromLatin1(command.text), command.objectName, this);
        button->setToolTip(QString::fromLatin1(command.tip));
        connect(button, &QPushButton::clicked, this, command.slot);
        return button;
    }
    return nullptr;
}

void BrowserDialog::buildControls()
{
    auto* exitButton = commandButton("exit_button");
    auto* openButton = commandButton("open_button");
    auto* filterLabel = new QLabel(QStringLiteral("Show Objects of Type:"), this);
    filter_ = new QComboBox(this);
    filter_->setObjectName(QStringLiteral("type_filter"));
    filter_->setMinimumContentsLength(6);
    filter_->addItem(QStringLiteral("All"));
    filter_->setToolTip(QStringLiteral("List the objects of one type only"));
    filterLabel->setBuddy(filter_);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search_field"));
    search_->setAccessibleName(QStringLiteral("Search"));
    search_->setPlaceholderText(QStringLiteral("Search type, id or name (Ctrl+F)"));
    search_->setToolTip(QStringLiteral("List only the objects whose type, id or name holds this text, case ignored"));
    search_->setClearButtonEnabled(true);
    for (QToolButton* clear : search_->findChildren<QToolButton*>())
        clear->setAccessibleName(QStringLiteral("Clear Search"));

    model_ = new ObjectListModel(directory_, this);
    list_ = new ObjectTableView(this);
    list_->setObjectName(QStringLiteral("object_list"));
    list_->setModel(model_);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    // Fixed pitch: the four-character ids and types line up down the list.
    list_->setFont(fixedFont());
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    QHeaderView* columns = list_->horizontalHeader();
    columns->setSectionsMovable(true);
    columns->setStretchLastSection(true);
    columns->setHighlightSections(false);
    const int digit = list_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // Start and Length hold any 32-bit number (ten digits) without eliding it.
    for (const auto& [column, characters] : {std::pair{ObjectListModel::TypeColumn, 6}, {ObjectListModel::IdColumn, 6},
                                             {ObjectListModel::NameColumn, 26}, {ObjectListModel::StartColumn, 12},
                                             {ObjectListModel::LengthColumn, 12}, {ObjectListModel::PlugInColumn, 8}})
        columns->resizeSection(column, digit * characters);
    columns->setSortIndicator(ObjectListModel::IdColumn, Qt::AscendingOrder);
    list_->setSortingEnabled(true);
    // Every column shows at the first start; the window may grow, the list with it.
    list_->setMinimumSize(columns->length() + list_->verticalScrollBar()->sizeHint().width() + 2 * list_->frameWidth(),
                          300);
    // The corner button and the row numbers are hidden, but named for screen readers.
    for (QAbstractButton* corner : list_->findChildren<QAbstractButton*>())
        corner->setAccessibleName(QStringLiteral("Select All"));
    list_->verticalHeader()->setAccessibleName(QStringLiteral("Line Numbers"));
    columns->setAccessibleName(QStringLiteral("Columns"));
    list_->setAccessibleName(QStringLiteral("Object List"));
    list_->installEventFilter(this);
    filter_->setAccessibleName(QStringLiteral("Show Objects of Type"));

    auto* cancelButton = dialogButton(QStringLiteral("Cancel"), "cancel_button", this);
    cancelButton->setEnabled(false);
    cancelButton->hide();
    connect(cancelButton, &QPushButton::clicked, this, &BrowserDialog::reject);

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
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(search_);
    listColumn->addWidget(list_);

    auto* column = new QVBoxLayout;
    std::vector<QPushButton*> side;
    for (const char* name : {"object_header_button", "object_data_button", "edit_mesh_button", "edit_stli_button",
                             "edit_mons_button", "settings_button", "dump_map_button"}) {
        side.push_back(commandButton(name));
        column->addWidget(side.back());
    }
    fileButtons_ = {side[0], side[1], side[6]};
    column->addStretch();
    auto* aboutButton = commandButton("about_button");
    column->addWidget(aboutButton);

    auto* layout = new QGridLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addLayout(top, 0, 0, 1, 2);
    layout->addLayout(listColumn, 1, 0);
    layout->addLayout(column, 1, 1);
    layout->addWidget(statusLine_, 2, 0, 1, 2);
    layout->addWidget(cancelButton, 3, 0);
    // The list takes the room when the window grows.
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);

    chainTabOrder({openButton, filter_, side[0], side[1], side[5], search_, list_, side[6], exitButton, aboutButton,
                   side[4], side[3], side[2]});

    connect(list_, &QTableView::doubleClicked, this, &BrowserDialog::onObjectHeader);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QTableView::customContextMenuRequested, this, &BrowserDialog::showListMenu);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BrowserDialog::onListSelectionChanged);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &BrowserDialog::onListSelectionChanged);
    connect(filter_, &QComboBox::currentIndexChanged, this, &BrowserDialog::onFilterChanged);
    connect(search_, &QLineEdit::textChanged, this, &BrowserDialog::onSearchChanged);
    // A new listing has no selection, so nothing to edit.
    connect(model_, &QAbstractItemModel::modelReset, editPlugIn_, [this] { editPlugIn_->setEnabled(false); });
}

QMenuBar* BrowserDialog::buildMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menu_bar"));
    const auto add = [this](QMenu* menu, const char* text, void (BrowserDialog::*slot)(),
                            const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(QString::fromLatin1(text), this, slot);
        action->setShortcut(shortcut);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, "&Open a File...", &BrowserDialog::onOpen, QKeySequence::Open);
    recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
    recentMenu_->setObjectName(QStringLiteral("recent_menu"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &BrowserDialog::fillRecentMenu);
    file->addSeparator();
    add(file, "E&xit", &BrowserDialog::accept, QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* object = bar->addMenu(QStringLiteral("O&bject"));
    fileActions_.push_back(add(object, "&Header", &BrowserDialog::onObjectHeader));
    fileActions_.push_back(add(object, "&Data", &BrowserDialog::onObjectData));
    fileActions_.push_back(add(object, "Dump &Map", &BrowserDialog::onDumpMap));
    object->addSeparator();
    extractSelected_ = add(object, "E&xtract Selected...", &BrowserDialog::onExtractSelected);
    fileActions_.push_back(extractSelected_);
    editPlugIn_ = add(object, "&Edit Plug-In", &BrowserDialog::onEditPlugIn);
    editPlugIn_->setEnabled(false);
    object->addSeparator();
    QAction* find = object->addAction(QStringLiteral("&Search"), this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    find->setShortcut(QKeySequence::Find);
    compareWithArchive_ = add(object, "&Compare with Archive", &BrowserDialog::onCompareWithArchive);
    compareWithArchive_->setEnabled(false);

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    add(tools, "Edit &mons File...", &BrowserDialog::onEditMons);
    add(tools, "Edit &STLI File...", &BrowserDialog::onEditStli);
    add(tools, "Edit M&ESH File...", &BrowserDialog::onEditMesh);
    tools->addSeparator();
    add(tools, "S&ettings...", &BrowserDialog::onSettings);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    add(help, "&About Tagwarden...", &BrowserDialog::onAbout, QKeySequence(Qt::Key_F1));
    // The arrow Qt shows when the menus do not fit has no text of its own.
    if (auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("More Menus"));
    return bar;
}

void BrowserDialog::fillRecentMenu()
{
    recentMenu_->clear();
    for (const std::string& path : RecentFiles(settings_).paths()) {
        QAction* action = recentMenu_->addAction(QString::fromLocal8Bit(path));
        connect(action, &QAction::triggered, this, [this, path] { (void)openPath(path); });
    }
    if (recentMenu_->isEmpty())
        recentMenu_->addAction(QStringLiteral("(none)"))->setEnabled(false);
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
    showFileInTitle();
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
    directory_.clearAll();
}

void BrowserDialog::addListLine(std::size_t index)
{
    listedLines_ = index + 1;
}

void BrowserDialog::onOpen()
{
    if (raiseRunningDialog())
        return;
    Prompter::FileRequest request;
    request.initialName = settingsDialog_->getTagsDirectory() + "tags.gor";
    request.filter = kOpenFilter;
    if (const std::optional<std::string> chosen = prompter_.chooseFile(request))
        (void)openPath(*chosen);
}

bool BrowserDialog::openPath(const std::string& path)
{
    if (raiseRunningDialog())
        return false;
    // Clearing empties the list as well; Cancel keeps file, list and filter as they are.
    if (file_.isOpen()) {
        if (!clearWithNotice())
            return false;
        closeFile();
    }
    path_ = path;
    fileName_ = std::filesystem::path(path_).filename().string();
    archiveOpen_ = true;
    try {
        file_ = File(path_, File::Access::Read, File::Share::None);
    } catch (const FileError& error) {
        reportFileError(error);
        RecentFiles(settings_).remove(path_);
        return false;
    }
    RecentFiles(settings_).add(path_);
    showFileInTitle();
    readOpenFile();
    return true;
}

void BrowserDialog::showFileInTitle()
{
    openArchives().setOpen(file_.isOpen() ? path_ : std::string{});
    const QString program = QString::fromLatin1(Prompter::kApplicationName);
    setWindowTitle(file_.isOpen() ? archiveTitle() + QStringLiteral(" - ") + program : program);
    enableFileCommands();
}

QString BrowserDialog::archiveTitle() const
{
    QString title = QString::fromLocal8Bit(fileName_);
    if (openArchives().nameSharedByAnother(path_)) {
        const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
        title += QStringLiteral(" (") + QString::fromLocal8Bit(folder.string()) + QLatin1Char(')');
    }
    return title;
}

void BrowserDialog::enableFileCommands()
{
    const bool open = file_.isOpen();
    for (QWidget* button : fileButtons_)
        button->setEnabled(open);
    for (QAction* action : fileActions_)
        action->setEnabled(open);
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
    showListStatus();
}

void BrowserDialog::finishListing()
{
    {
        const QSignalBlocker quiet(search_);
        search_->clear();
    }
    model_->setEntries(std::exchange(listedLines_, 0));
    refreshPlugIns();
}

void BrowserDialog::refreshPlugIns()
{
    model_->setPlugIns(plugInsUnder(std::filesystem::path(settingsDialog_->getTagsDirectory()) / "local"));
}

void BrowserDialog::reportFileError(const FileError& error)
{
    prompter_.message(error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error);
}

void BrowserDialog::refillObjectList()
{
    const QVariant group = filter_->currentData();
    model_->setGroup(group.isValid() ? &directory_.typeGroups().at(group.value<std::size_t>()) : nullptr);
}

void BrowserDialog::onFilterChanged()
{
    refillObjectList();
    showListStatus();
}

void BrowserDialog::onSearchChanged()
{
    model_->setSearch(search_->text().toLatin1().toStdString());
    showListStatus();
}

void BrowserDialog::showListStatus()
{
    std::string text = filter_->currentText().toLatin1().toStdString() + " Objects";
    if (model_->searching())
        text += " - " + std::to_string(model_->rowCount()) + " of " + std::to_string(model_->groupCount()) + " shown";
    setStatus(text);
}

void BrowserDialog::onListSelectionChanged()
{
    const std::optional<int> row = selectedRow();
    editPlugIn_->setEnabled(row && editableType(entryOfRow(*row)));
    std::error_code missing;
    compareWithArchive_->setEnabled(row && std::filesystem::is_regular_file(plugInPathOf(entryOfRow(*row)), missing));
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
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid() || !list_->selectionModel()->isRowSelected(current.row()))
        return std::nullopt;
    return current.row();
}

std::vector<std::uint32_t> BrowserDialog::selectedEntries() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : list_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::uint32_t> entries;
    entries.reserve(rows.size());
    for (const int row : rows)
        entries.push_back(model_->entryIndexAt(row));
    return entries;
}

TagEntry BrowserDialog::entryOfRow(int row) const { return directory_.entryAt(model_->entryIndexAt(row)); }

void BrowserDialog::onObjectHeader()
{
    const std::optional<int> row = selectedRow();
    if (!row) {
        if (model_->rowCount() > 0) {
            selectingSilently_ = true;
            list_->setCurrentIndex(model_->index(0, ObjectListModel::IdColumn));
            selectingSilently_ = false;
        }
        return;
    }
    HeaderDialog dialog(prompter_, this);
    dialog.fillFromEntry(entryOfRow(*row));
    execWindowModal(dialog);
}

void BrowserDialog::onObjectData()
{
    const std::optional<int> row = selectedRow();
    if (!row) {
        prompter_.message(kNoSelectionMessage);
        return;
    }
    ObjectViewerDialog viewer(entryOfRow(*row), file_, path_, settings_, prompter_, this);
    execWindowModal(viewer);
}

void BrowserDialog::onSettings()
{
    execWindowModal(*settingsDialog_);
    refreshPlugIns();  // the tags directory may have changed
}

void BrowserDialog::onDumpMap()
{
    const int selection = filter_->currentIndex();
    DumpMapDialog dump(directory_.dumpMapText(selection < 0 ? std::nullopt : std::optional<std::size_t>(selection)),
                       this);
    const QString type = selection > 0 ? filter_->currentText() : QStringLiteral("all types");
    dump.setWindowTitle(archiveTitle() + QStringLiteral(" (") + type + QStringLiteral(") - ") +
                        QString::fromLatin1(Prompter::kApplicationName) + QStringLiteral(" - Dump Map"));
    execWindowModal(dump);
}

void BrowserDialog::onExtractSelected()
{
    if (raiseRunningDialog() || !file_.isOpen())
        return;
    const std::vector<std::uint32_t> entries = selectedEntries();
    if (entries.empty()) {
        prompter_.message(kNoSelectionMessage);
        return;
    }
    // The dialog opens in local/ of the tags directory, made for it when missing.
    const std::string local = settingsDialog_->getTagsDirectory() + "local";
    const ProposedFolder proposed(local);
    Prompter::FileRequest request;
    request.kind = Prompter::FileRequest::Kind::Folder;
    request.title = kExtractTitle;
    request.initialName = local;
    const std::optional<std::string> root = prompter_.chooseFile(request);
    if (!root)
        return;

    const int total = static_cast<int>(entries.size());
    QProgressDialog progress(QStringLiteral("Extracting %1 plug-ins...").arg(total), QStringLiteral("Cancel"), 0,
                             total, this);
    progress.setObjectName(QStringLiteral("extract_progress"));
    progress.setWindowTitle(QString::fromLatin1(Prompter::kApplicationName));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    const std::vector<ExtractionBatch::Result> results = ExtractionBatch(file_, path_, directory_).extractUnder(
        *root, entries, [&progress](const ExtractionBatch::Result&, std::size_t done, std::size_t) {
            progress.setValue(static_cast<int>(done));
            return !progress.wasCanceled();
        });
    progress.reset();
    refreshPlugIns();
    std::string summary = ExtractionBatch::summary(results);
    if (results.size() < entries.size())
        summary += "\n" + std::to_string(entries.size() - results.size()) + " not tried (cancelled)";
    const bool allWell = std::all_of(results.begin(), results.end(), [](const ExtractionBatch::Result& result) {
        return result.outcome != ExtractionBatch::Outcome::Failed;
    });
    prompter_.message("Extract Selected under " + *root + ":\n" + summary, Prompter::Buttons::Ok,
                      allWell ? Prompter::Icon::None : Prompter::Icon::Exclamation);
}

void BrowserDialog::onAbout()
{
    AboutDialog about(this);
    execWindowModal(about);
}

void BrowserDialog::onEditMons() { editUnit(std::nullopt); }

void BrowserDialog::onEditStli() { editStringList(std::nullopt); }

void BrowserDialog::onEditMesh() { editMap(std::nullopt); }

// A second press replaces the editor: the old one closes its file and form first.
// Never while a dialog of it runs: its event loop would return into a deleted window.
void BrowserDialog::editUnit(const std::optional<std::string>& path)
{
    if (raiseRunningDialog() || !settle(unitEditor_.get(), "unit", prompter_))
        return;
    unitEditor_.reset();
    unitEditor_ = std::make_unique<MonsEditor>(settings_, prompter_,
                                               [this](const std::string& type) { return idsOfType(type); });
    unitEditorOpen_ = path ? unitEditor_->startWith(*path) : unitEditor_->start();
}

void BrowserDialog::editStringList(const std::optional<std::string>& path)
{
    if (raiseRunningDialog() || !settle(stringListEditor_.get(), "string-list", prompter_))
        return;
    stringListEditor_.reset();
    stringListEditor_ = std::make_unique<StliEditor>(settings_, prompter_);
    stringListEditorOpen_ = path ? stringListEditor_->startWith(*path) : stringListEditor_->start();
}

void BrowserDialog::editMap(const std::optional<std::string>& path)
{
    if (raiseRunningDialog() || !settle(mapEditor_.get(), "map", prompter_))
        return;
    mapEditor_.reset();
    mapEditor_ = std::make_unique<MeshEditor>(settings_, prompter_);
    path ? mapEditor_->startWith(*path) : mapEditor_->start();
}

void BrowserDialog::onEditPlugIn()
{
    const std::optional<int> row = selectedRow();
    if (!row || raiseRunningDialog())
        return;
    const TagEntry entry = entryOfRow(*row);
    const std::optional<EditableType> editable = editableType(entry);
    if (!editable)
        return;
    const std::optional<std::string> path = plugInOf(entry);
    if (!path)
        return;
    switch (*editable) {
    case EditableType::Unit:
        editUnit(path);
        break;
    case EditableType::StringList:
        editStringList(path);
        break;
    case EditableType::Map:
        editMap(path);
        break;
    }
}

std::string BrowserDialog::plugInPathOf(const TagEntry& entry)
{
    return plugInPath(settingsDialog_->getTagsDirectory() + "local/" + plugInFileName(entry.type()), entry.id());
}

void BrowserDialog::onCompareWithArchive()
{
    if (const std::optional<int> row = selectedRow())
        CompareDialog::showFor(plugInPathOf(entryOfRow(*row)), this);
}

std::optional<std::string> BrowserDialog::plugInOf(const TagEntry& entry)
{
    const std::string path = plugInPathOf(entry);
    const std::string folder = std::filesystem::path(path).parent_path().string();
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found)
        return path;  // whatever is there, the editor opens it or says why not
    const std::string question = "There is no plug-in of this tag yet:\n" + path +
                                 "\n\nCreate it from the open file and edit it?";
    if (prompter_.message(question, Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
        return std::nullopt;
    std::filesystem::create_directories(folder, error);
    if (error) {
        prompter_.message("The folder \"" + folder + "\" could not be created: " + error.message() + ".\n" +
                              kPlugInNotCreatedMessage,
                          Prompter::Buttons::Ok, Prompter::Icon::Error);
        return std::nullopt;
    }
    const ExtractedPlugIn made = extractPlugIn(file_, path_, entry, path);
    refreshPlugIns();
    showNotices(prompter_, made.notices);
    if (!made.created) {
        prompter_.message(kPlugInNotCreatedMessage);
        return std::nullopt;
    }
    return path;
}

void BrowserDialog::showListMenu(const QPoint& at)
{
    if (!list_->indexAt(at).isValid())
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("object_list_menu"));
    menu.addAction(editPlugIn_);
    menu.addAction(extractSelected_);
    menu.addAction(compareWithArchive_);
    menu.exec(list_->viewport()->mapToGlobal(at));
}

bool BrowserDialog::settleUnsavedWork()
{
    return settle(unitEditor_.get(), "unit", prompter_) && settle(stringListEditor_.get(), "string-list", prompter_) &&
           settle(mapEditor_.get(), "map", prompter_);
}

void BrowserDialog::done(int result)
{
    if (raiseRunningDialog() || !settleUnsavedWork())
        return;
    settings_.writeString(kWindowSection, kGeometryKey, saveGeometry().toBase64().toStdString());
    settings_.writeString(kWindowSection, kListColumnsKey,
                          list_->horizontalHeader()->saveState().toBase64().toStdString());
    QDialog::done(result);
}

void BrowserDialog::restoreWindowGeometry()
{
    const std::string stored = settings_.readString(kWindowSection, kGeometryKey);
    if (!stored.empty())
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(stored)));
    restoreListColumns();
}

// Widths and order of the columns come back; the sort starts as the list's own order.
void BrowserDialog::restoreListColumns()
{
    const std::string stored = settings_.readString(kWindowSection, kListColumnsKey);
    QHeaderView* columns = list_->horizontalHeader();
    if (stored.empty() || !columns->restoreState(QByteArray::fromBase64(QByteArray::fromStdString(stored))))
        return;
    columns->setSortIndicator(ObjectListModel::IdColumn, Qt::AscendingOrder);
}

void BrowserDialog::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFile(*event->mimeData()))
        event->acceptProposedAction();
}

void BrowserDialog::dropEvent(QDropEvent* event)
{
    if (const std::optional<std::string> path = droppedFile(*event->mimeData())) {
        event->acceptProposedAction();
        (void)openPath(*path);
    }
}

void BrowserDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && file_.isOpen())
        showFileInTitle();
}

void BrowserDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (search_->hasFocus())
            search_->clear();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (search_->hasFocus())
            list_->setFocus(Qt::OtherFocusReason);  // from the search to what it found
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool BrowserDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onObjectHeader();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tagwarden
