#include "gui/viewer/object_viewer_dialog.h"

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
#include "core/viewer/plug_in_writer.h"
#include "core/viewer/tag_data.h"
#include "core/viewer/viewer_lines.h"
#include "gui/common/dialog_controls.h"

namespace tagwarden {

namespace {

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// Courier New when the system has it, else the system's fixed-pitch font.
QFont listFont()
{
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(14);
        font.setStyleHint(QFont::TypeWriter);
        return font;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

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
        // The longest line, 110 characters, has no tabs; a tabbed line ends by column 97.
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

    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("dataList"));
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
    connect(selectAll, &QAction::triggered, list_, &QListWidget::selectAll);
    list_->addActions({copy, selectAll});
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setUniformItemSizes(true);
    list_->setFont(listFont());
    list_->setItemDelegate(new TabStopDelegate(list_));
    const QFontMetricsF metrics(list_->font());
    list_->setMinimumSize(qRound(112 * metrics.horizontalAdvance(QLatin1Char('0'))) + 30,
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
        hexText_ = data_.load(openFile_, entry_);
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
}

void ObjectViewerDialog::onLoadObject()
{
    const ViewerLayout layout = viewerLayoutFor(settings_.readInt(settings::kSection, settings::kAsciiDisplay));
    if (layout == ViewerLayout::Character)
        characterText_ = data_.asciiText();
    list_->clear();
    for (const std::string& line : viewerLines(hexText_, characterText_, entry_.startAddress(), layout))
        list_->addItem(latin1(line));
}

void ObjectViewerDialog::copySelectedLines()
{
    QList<QListWidgetItem*> selected = list_->selectedItems();
    std::sort(selected.begin(), selected.end(),
              [this](QListWidgetItem* a, QListWidgetItem* b) { return list_->row(a) < list_->row(b); });
    QStringList lines;
    for (const QListWidgetItem* item : selected)
        lines << item->text();
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
