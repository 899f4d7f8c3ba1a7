#include "gui/mesh/item_map_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

#include "core/mesh/mesh_format.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/prompter.h"
#include "gui/mesh/item_map_view.h"

namespace tagwarden {

namespace {

constexpr const char* kImageFilter = "PNG Images (*.png)|*.png||";

QPixmap legendIcon(std::int16_t category, int size)
{
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    ItemMapView::drawMark(painter, category, QPointF(size, size) / 2, size * 0.35);
    return icon;
}

}  // namespace

ItemMapDialog::ItemMapDialog(const MeshModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Window), model_(model), prompter_(prompter)
{
    setObjectName(QStringLiteral("itemMapDialog"));
    setWindowTitle(QString::fromLatin1(kTitle));
    view_ = new ItemMapView(this);
    connect(view_, &ItemMapView::markClicked, this, [this](int index) {
        emit itemClicked(shown_.at(static_cast<std::size_t>(index)));
    });

    auto* legendBox = new QWidget(this);
    legendBox->setObjectName(QStringLiteral("legend"));
    legend_ = new QHBoxLayout(legendBox);
    legend_->setContentsMargins(0, 0, 0, 0);

    auto* buttons = new QDialogButtonBox(this);
    auto* fit = buttons->addButton(QStringLiteral("Show All"), QDialogButtonBox::ActionRole);
    fit->setToolTip(QStringLiteral("Zoom and pan so that every item shows"));
    connect(fit, &QPushButton::clicked, view_, &ItemMapView::fitAll);
    auto* save = buttons->addButton(QStringLiteral("Save Image..."), QDialogButtonBox::ActionRole);
    save->setToolTip(QStringLiteral("Write the map as shown to a PNG file"));
    connect(save, &QPushButton::clicked, this, &ItemMapDialog::onSaveImage);
    auto* close = buttons->addButton(QDialogButtonBox::Close);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* button : {fit, save, close})
        button->setAutoDefault(false);

    auto* hint = new QLabel(QStringLiteral("Wheel: zoom.  Drag: pan.  Click a mark: select its item."), this);
    hint->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(legendBox);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    refresh();
}

void ItemMapDialog::refresh()
{
    const int selected = view_->selected();
    const MeshItem* keep = selected >= 0 ? shown_[static_cast<std::size_t>(selected)] : nullptr;
    shown_.clear();
    std::vector<ItemMapView::Mark> marks;
    for (const MeshItem& item : model_.items()) {
        shown_.push_back(&item);
        marks.push_back({QPointF(positionValue(item.x()), positionValue(item.y())), item.category()});
    }
    view_->setMarks(std::move(marks));
    selectItem(keep);
    fillLegend();
}

void ItemMapDialog::selectItem(const MeshItem* item)
{
    const auto found = std::find(shown_.begin(), shown_.end(), item);
    view_->setSelected(item && found != shown_.end() ? static_cast<int>(found - shown_.begin()) : -1);
}

void ItemMapDialog::fillLegend()
{
    while (QLayoutItem* old = legend_->takeAt(0)) {
        delete old->widget();
        delete old;
    }
    std::map<std::int16_t, int> counts;
    for (const ItemMapView::Mark& mark : view_->marks())
        ++counts[mark.category];
    const int iconSize = fontMetrics().height() + 4;
    for (const auto& [category, count] : counts) {
        auto* icon = new QLabel;
        icon->setPixmap(legendIcon(category, iconSize));
        legend_->addWidget(icon);
        legend_->addWidget(new QLabel(QStringLiteral("%1 (%2)").arg(QString::fromStdString(categoryItemListName(category))).arg(count)));
        legend_->addSpacing(12);
    }
    if (counts.empty())
        legend_->addWidget(new QLabel(QStringLiteral("No placed items")));
    legend_->addStretch();
}

bool ItemMapDialog::saveImage(const std::string& path) const
{
    return view_->grab().save(QString::fromLocal8Bit(path), "PNG");
}

void ItemMapDialog::onSaveImage()
{
    Prompter::FileRequest request;
    request.kind = Prompter::FileRequest::Kind::Save;
    request.title = "Save Item Map";
    request.initialName = "item-map.png";
    request.filter = kImageFilter;
    request.mustExist = false;
    const std::optional<std::string> path = prompter_.chooseFile(request);
    if (path && !saveImage(*path))
        prompter_.message("The image could not be written to\n" + *path, Prompter::Buttons::Ok, Prompter::Icon::Error);
}

}  // namespace tagwarden
