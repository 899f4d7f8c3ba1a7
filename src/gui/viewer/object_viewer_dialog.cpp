#include "gui/viewer/object_viewer_dialog.h"

#include <algorithm>
#include <new>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QVBoxLayout>

#include "core/io/file_error.h"
#include "core/prompt/notice.h"
#include "core/settings/settings_store.h"
#include "core/tags/tag_entry.h"
#include "core/tags/tag_text.h"
#include "core/viewer/data_search.h"
#include "core/viewer/plug_in_writer.h"
#include "core/viewer/tag_data.h"
#include "core/viewer/viewer_lines.h"
#include "gui/common/dialog_controls.h"
#include "gui/common/fixed_font.h"
#include "gui/common/latin1_text.h"
#include "gui/viewer/viewer_line_model.h"

namespace tagwarden {

namespace {

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// Draws each line with tab stops on the character grid, so the character column
// of a partly filled last line stands under that of the full lines.
class TabStopDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetricsF metrics(option.font);
        QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
        textOption.setWrapMode(QTextOption::NoWrap);
        QList<QTextOption::Tab> tabs;
        for (int column : kCharacterLayoutTabStops)
            tabs.append(QTextOption::Tab(column * metrics.horizontalAdvance(QLatin1Char('0')), QTextOption::LeftTab));
        textOption.setTabs(tabs);

        painter->save();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        painter->setFont(option.font);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRectF(option.rect).adjusted(kMargin, 0, 0, 0), index.data().toString(), textOption);
        painter->restore();
    }

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetricsF metrics(option.font);
        const QString text = index.data().toString();
        // The longest described line, 110 characters, has no tabs; a tabbed line ends by column 97.
        const qreal width = qMax(static_cast<qreal>(text.size()), qreal{97}) * metrics.horizontalAdvance(QLatin1Char('0'));
        return QSizeF(width + 2 * kMargin, metrics.height() + 2).toSize();
    }

private:
    static constexpr int kMargin = 4;
};

QLineEdit* readOnlyNumber(const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

}  // namespace

ObjectViewerDialog::ObjectViewerDialog(const TagEntry& entry, File& openFile, const std::string& openFilePath,
                                       SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      entry_(entry),
      openFile_(openFile),
      openFilePath_(openFilePath),
      settings_(settings),
      prompter_(prompter)
{
    buildControls();
    addShortcuts();
    attach();
}

void ObjectViewerDialog::buildControls()
{
    setWindowTitle(QStringLiteral("Vorn Object Viewer"));
    setObjectName(QStringLiteral("objectViewerDialog"));

    titleLine_ = new QLabel(QStringLiteral("Name (Type) - Description"));
    titleLine_->setObjectName(QStringLiteral("titleLine"));
    titleLine_->setTextFormat(Qt::PlainText);
    lengthText_ = new QLabel(QStringLiteral("00000000"));
    lengthText_->setObjectName(QStringLiteral("lengthText"));
    startAddress_ = readOnlyNumber(QStringLiteral("startAddress"));
    dataLength_ = readOnlyNumber(QStringLiteral("dataLength"));

    list_ = new QListView;
    list_->setObjectName(QStringLiteral("dataList"));
    model_ = new ViewerLineModel(list_);
    list_->setModel(model_);
    // Lines can be selected and copied, and the keyboard scrolls them.
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("&Copy"), list_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ObjectViewerDialog::copySelectedLines);
    auto* selectAll = new QAction(QStringLiteral("Select &All"), list_);
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(selectAll, &QAction::triggered, list_, &QListView::selectAll);
    list_->addActions({copy, selectAll});
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setUniformItemSizes(true);
    list_->setFont(fixedFont());
    list_->setItemDelegate(new TabStopDelegate(list_));
    const QFontMetricsF metrics(list_->font());
    // Room for a whole-tag line, 123 characters with its offset within the tag.
    list_->setMinimumSize(qRound(125 * metrics.horizontalAdvance(QLatin1Char('0'))) + 30,
                          qRound(24 * (metrics.height() + 2)));

    auto* numbers = new QGridLayout;
    numbers->addWidget(new QLabel(QStringLiteral("Length of Object Data:")), 0, 0);
    numbers->addWidget(lengthText_, 0, 1);
    numbers->addWidget(new QLabel(QStringLiteral("Starting Address:")), 0, 2, Qt::AlignRight);
    numbers->addWidget(startAddress_, 0, 3);
    numbers->addWidget(new QLabel(QStringLiteral("Length:")), 0, 4, Qt::AlignRight);
    numbers->addWidget(dataLength_, 0, 5);
    numbers->setColumnStretch(1, 1);
    // Screen readers (and the end-to-end tests) find the fields by these names.
    lengthText_->setAccessibleName(QStringLiteral("Length of Object Data"));
    startAddress_->setAccessibleName(QStringLiteral("Starting Address"));
    dataLength_->setAccessibleName(QStringLiteral("Length"));
    list_->setAccessibleName(QStringLiteral("Object Data"));

    shownPart_ = new QLabel;
    shownPart_->setObjectName(QStringLiteral("shownPart"));
    shownPart_->hide();

    showAll_ = dialogCheckBox(QStringLiteral("Show all data"), "showAllData", this, true);
    connect(showAll_, &QCheckBox::toggled, this, &ObjectViewerDialog::setShowAllData);

    auto* loadObject = dialogButton(QStringLiteral("Load Object"), "loadObjectButton");
    auto* createPlugIn = dialogButton(QStringLiteral("Create Plug-In"), "createPlugInButton");
    auto* ok = dialogButton(QStringLiteral("OK"), "okButton");
    auto* cancel = dialogButton(QStringLiteral("Cancel"), "cancelButton");
    ok->setDefault(true);
    connect(loadObject, &QPushButton::clicked, this, &ObjectViewerDialog::onLoadObject);
    connect(createPlugIn, &QPushButton::clicked, this, &ObjectViewerDialog::onCreatePlugIn);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(loadObject);
    buttons->addWidget(createPlugIn);
    buttons->addWidget(showAll_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLine_);
    layout->addLayout(numbers);
    layout->addWidget(list_, 1);
    layout->addWidget(shownPart_);
    layout->addLayout(buttons);
}

void ObjectViewerDialog::addShortcuts()
{
    const auto add = [this](const QString& text, const QKeySequence& keys, void (ObjectViewerDialog::*slot)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        list_->addAction(action);
    };
    add(QStringLiteral("&Go to Offset..."), QKeySequence(Qt::CTRL | Qt::Key_G), &ObjectViewerDialog::onGoTo);
    add(QStringLiteral("&Find..."), QKeySequence::Find, &ObjectViewerDialog::onFind);
}

// Fills the texts from the entry and loads its data afresh. A read error is told
// at once; the viewer then has no data to list.
void ObjectViewerDialog::attach()
{
    const std::string id = entry_.id();
    const std::string type = entry_.type();
    titleLine_->setText(latin1(upToNul(id)) + QStringLiteral(" (") + latin1(upToNul(type)) +
                        QStringLiteral(") - ") + latin1(entry_.name()));
    lengthText_->setText(latin1(entry_.lengthText()));
    startAddress_->setText(QString::number(entry_.startAddress()));
    dataLength_->setText(QString::number(entry_.dataLength()));
    // The viewer holds at most the first bytes of a long tag: say so, not only by silence.
    if (entry_.dataLength() > TagData::kMaxBytes) {
        shownPart_->setText(QStringLiteral("Showing the first %1 of %2 bytes of data.")
                                .arg(TagData::kMaxBytes)
                                .arg(entry_.dataLength()));
        shownPart_->show();
    }
    try {
        (void)data_.load(openFile_, entry_);
    } catch (const FileError& error) {
        prompter_.message(error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error);
    }
    // A tag cut short by the end of the file must not pass for a short or empty tag.
    if (data_.shortRead()) {
        shownPart_->setText(QStringLiteral("Only %1 of %2 bytes could be read: the file ends before the tag's data does.")
                                .arg(data_.bytes().size())
                                .arg(data_.expectedBytes()));
        shownPart_->show();
    }
    listLines();
}

void ObjectViewerDialog::listLines()
{
    const ViewerLayout layout = viewerLayoutFor(settings_.readInt(settings::kSection, settings::kAsciiDisplay));
    model_->show(data_.bytes(), entry_.startAddress(), layout, allData_);
}

void ObjectViewerDialog::onLoadObject() { listLines(); }

void ObjectViewerDialog::setShowAllData(bool all)
{
    if (all == allData_)
        return;
    QSignalBlocker quiet(showAll_);
    showAll_->setChecked(all);
    // The list shows the loaded bytes in place: it lets go of them before they are replaced.
    model_->show({}, entry_.startAddress(), ViewerLayout::Hex, false);
    try {
        if (all)
            data_.loadWhole(openFile_, entry_);
        else
            (void)data_.load(openFile_, entry_);
    } catch (const FileError& error) {
        prompter_.message(error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error);
    } catch (const std::bad_alloc&) {
        prompter_.message("ERROR - Not enough memory for this tag's data", Prompter::Buttons::Ok, Prompter::Icon::Error);
        all = false;
        showAll_->setChecked(false);
        (void)data_.load(openFile_, entry_);
    }
    allData_ = all;
    shownPart_->setVisible(!all && entry_.dataLength() > TagData::kMaxBytes);
    lastFound_.reset();
    listLines();
}

void ObjectViewerDialog::selectLineOf(std::uint64_t offset)
{
    const QModelIndex line = model_->index(model_->lineOf(offset));
    list_->setCurrentIndex(line);
    list_->scrollTo(line, QAbstractItemView::PositionAtCenter);
}

bool ObjectViewerDialog::goToOffset(std::uint64_t offset)
{
    if (offset >= entry_.dataLength())
        return false;
    if (offset >= data_.bytes().size())
        setShowAllData(true);
    if (offset >= data_.bytes().size())
        return false;  // the file ends first
    selectLineOf(offset);
    return true;
}

std::optional<std::size_t> ObjectViewerDialog::find(const std::string& typed)
{
    setShowAllData(true);
    const std::vector<std::uint8_t> pattern = searchPattern(typed);
    lastFound_ = findNext(data_.bytes(), pattern, lastFound_);
    if (lastFound_)
        selectLineOf(*lastFound_);
    return lastFound_;
}

void ObjectViewerDialog::onGoTo()
{
    bool ok = false;
    const QString typed = QInputDialog::getText(this, QStringLiteral("Go to Offset"),
                                                QStringLiteral("Offset within the tag (0x1A0 in hex, or 416):"),
                                                QLineEdit::Normal, {}, &ok);
    if (!ok)
        return;
    const std::optional<std::uint64_t> offset = typedOffset(typed.toStdString());
    if (!offset || !goToOffset(*offset))
        prompter_.message("\"" + typed.toStdString() + "\" is no offset within the tag's " +
                          std::to_string(data_.bytes().size()) + " bytes of data.");
}

void ObjectViewerDialog::onFind()
{
    bool ok = false;
    const QString typed = QInputDialog::getText(this, QStringLiteral("Find"),
                                                QStringLiteral("Bytes in hex (4A 00 FF) or text (\"in quotes\" when it looks like hex):"),
                                                QLineEdit::Normal, {}, &ok);
    if (ok && !typed.isEmpty() && !find(latin1Bytes(typed)))
        prompter_.message("\"" + latin1Bytes(typed) + "\" is nowhere in the tag's data.");
}

void ObjectViewerDialog::copySelectedLines()
{
    QModelIndexList selected = list_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex& line : selected)
        lines << line.data().toString();
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void ObjectViewerDialog::onCreatePlugIn()
{
    PlugInWriter writer(openFile_, entry_, openFilePath_);
    const Reported<bool> created = writer.writePlugIn(prompter_);
    showNotices(prompter_, created.notices);
    prompter_.message(created.value ? kPlugInCreatedMessage : kPlugInNotCreatedMessage);
}

}  // namespace tagwarden
