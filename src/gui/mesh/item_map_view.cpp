#include "gui/mesh/item_map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "core/mesh/mesh_format.h"

namespace tagwarden {

namespace {

constexpr qreal kMarkRadius = 6;
constexpr qreal kPickRadius = 10;  // how near a click must come to a mark, in pixels
constexpr qreal kMargin = 24;
constexpr qreal kDragThreshold = 4;

enum class Shape { Circle, Square, TriangleUp, Diamond, TriangleDown, Plus, Cross, Hexagon };

struct Look {
    Shape shape;
    QColor colour;
};

// One look per category of the record forms, in their order; any other code looks like "Other".
Look lookOf(std::int16_t category)
{
    static const Look kLooks[kCategoryChoices.size()] = {
        {Shape::TriangleDown, QColor(110, 110, 110)},  // Camera
        {Shape::Square, QColor(46, 139, 87)},         // Scenery
        {Shape::Circle, QColor(200, 40, 40)},         // Unit
        {Shape::Diamond, QColor(30, 110, 200)},       // Ambient Sound
        {Shape::Hexagon, QColor(150, 100, 40)},       // Model
        {Shape::TriangleUp, QColor(230, 140, 0)},     // Object
        {Shape::Plus, QColor(160, 50, 190)},          // Special Effects
        {Shape::Cross, QColor(0, 0, 0)},              // Other
    };
    return kLooks[categoryChoiceIndex(category)];
}

QPolygonF regular(QPointF centre, qreal radius, int corners, qreal startDegrees)
{
    QPolygonF polygon;
    for (int i = 0; i < corners; ++i) {
        const qreal angle = (startDegrees + 360.0 * i / corners) * M_PI / 180.0;
        polygon << centre + QPointF(radius * std::cos(angle), -radius * std::sin(angle));
    }
    return polygon;
}

// A tidy step for grid lines: 1, 2 or 5 times a power of ten, about `wanted` long.
qreal gridStep(qreal wanted)
{
    const qreal power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const qreal factor : {1.0, 2.0, 5.0})
        if (factor * power >= wanted)
            return factor * power;
    return 10 * power;
}

}  // namespace

ItemMapView::ItemMapView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("itemMapView"));
    setAccessibleName(QStringLiteral("Item Map"));
    setMinimumSize(240, 180);
    setMouseTracking(false);
    setCursor(Qt::CrossCursor);
}

void ItemMapView::setMarks(std::vector<Mark> marks)
{
    marks_ = std::move(marks);
    selected_ = -1;
    QPointF low = marks_.empty() ? QPointF() : marks_.front().position;
    QPointF high = low;
    for (const Mark& mark : marks_) {
        low = QPointF(std::min(low.x(), mark.position.x()), std::min(low.y(), mark.position.y()));
        high = QPointF(std::max(high.x(), mark.position.x()), std::max(high.y(), mark.position.y()));
    }
    // A lone mark or a line of them still gets room around it.
    bounds_ = QRectF(low, high).adjusted(-1, -1, 1, 1);
    fitAll();
}

void ItemMapView::setSelected(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(marks_.size()) ? index : -1;
    update();
}

void ItemMapView::fitAll()
{
    fitted_ = true;
    const QSizeF room = QSizeF(size()) - QSizeF(2 * kMargin, 2 * kMargin);
    scale_ = std::max<qreal>(1e-6, std::min(room.width() / bounds_.width(), room.height() / bounds_.height()));
    offset_ = QPointF(width(), height()) / 2 - bounds_.center() * scale_;
    update();
}

QPointF ItemMapView::toScreen(QPointF position) const { return position * scale_ + offset_; }

QPointF ItemMapView::toMap(QPointF point) const { return (point - offset_) / scale_; }

int ItemMapView::markAt(QPointF point) const
{
    int nearest = -1;
    qreal best = kPickRadius * kPickRadius;
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        const QPointF d = toScreen(marks_[i].position) - point;
        const qreal distance = QPointF::dotProduct(d, d);
        if (distance <= best) {
            best = distance;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

void ItemMapView::drawMark(QPainter& painter, std::int16_t category, QPointF centre, qreal radius)
{
    const Look look = lookOf(category);
    painter.setPen(QPen(look.colour.darker(150), 1.2));
    painter.setBrush(look.colour);
    switch (look.shape) {
    case Shape::Circle:
        painter.drawEllipse(centre, radius, radius);
        break;
    case Shape::Square:
        painter.drawRect(QRectF(centre - QPointF(radius, radius) * 0.85, QSizeF(radius, radius) * 1.7));
        break;
    case Shape::TriangleUp:
        painter.drawPolygon(regular(centre, radius * 1.15, 3, 90));
        break;
    case Shape::TriangleDown:
        painter.drawPolygon(regular(centre, radius * 1.15, 3, -90));
        break;
    case Shape::Diamond:
        painter.drawPolygon(regular(centre, radius * 1.15, 4, 90));
        break;
    case Shape::Hexagon:
        painter.drawPolygon(regular(centre, radius, 6, 0));
        break;
    case Shape::Plus:
    case Shape::Cross: {
        painter.setPen(QPen(look.colour, radius * 0.55, Qt::SolidLine, Qt::FlatCap));
        const qreal r = radius * 0.95;
        const bool plus = look.shape == Shape::Plus;
        painter.drawLine(centre + (plus ? QPointF(-r, 0) : QPointF(-r, -r)), centre + (plus ? QPointF(r, 0) : QPointF(r, r)));
        painter.drawLine(centre + (plus ? QPointF(0, -r) : QPointF(-r, r)), centre + (plus ? QPointF(0, r) : QPointF(r, -r)));
        break;
    }
    }
}

void ItemMapView::drawGrid(QPainter& painter) const
{
    const QPointF topLeft = toMap(QPointF(0, 0));
    const QPointF bottomRight = toMap(QPointF(width(), height()));
    const qreal step = gridStep(80 / scale_);
    painter.setPen(QPen(palette().color(QPalette::Mid), 0));
    painter.setFont(font());
    const QColor text = palette().color(QPalette::PlaceholderText);
    for (qreal x = std::ceil(topLeft.x() / step) * step; x <= bottomRight.x(); x += step) {
        const qreal at = toScreen(QPointF(x, 0)).x();
        painter.setPen(QPen(palette().color(QPalette::Midlight), 0));
        painter.drawLine(QPointF(at, 0), QPointF(at, height()));
        painter.setPen(text);
        painter.drawText(QPointF(at + 3, height() - 4), QString::number(x));
    }
    for (qreal y = std::ceil(topLeft.y() / step) * step; y <= bottomRight.y(); y += step) {
        const qreal at = toScreen(QPointF(0, y)).y();
        painter.setPen(QPen(palette().color(QPalette::Midlight), 0));
        painter.drawLine(QPointF(0, at), QPointF(width(), at));
        painter.setPen(text);
        painter.drawText(QPointF(3, at - 3), QString::number(y));
    }
}

void ItemMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing);
    drawGrid(painter);
    for (std::size_t i = 0; i < marks_.size(); ++i)
        if (static_cast<int>(i) != selected_)
            drawMark(painter, marks_[i].category, toScreen(marks_[i].position), kMarkRadius);
    // The selected mark last, on top, ringed so that it stands out of a crowd.
    if (selected_ >= 0) {
        const QPointF centre = toScreen(marks_[static_cast<std::size_t>(selected_)].position);
        drawMark(painter, marks_[static_cast<std::size_t>(selected_)].category, centre, kMarkRadius * 1.4);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawEllipse(centre, kMarkRadius * 2.6, kMarkRadius * 2.6);
    }
}

void ItemMapView::resizeEvent(QResizeEvent*)
{
    if (fitted_)
        fitAll();
}

void ItemMapView::wheelEvent(QWheelEvent* event)
{
    const qreal factor = std::pow(1.0015, event->angleDelta().y());
    const QPointF anchor = event->position();
    const QPointF under = toMap(anchor);  // stays under the pointer
    scale_ = std::clamp(scale_ * factor, 1e-6, 1e6);
    offset_ = anchor - under * scale_;
    fitted_ = false;
    update();
    event->accept();
}

void ItemMapView::mousePressEvent(QMouseEvent* event)
{
    pressedAt_ = lastDragAt_ = event->position();
    dragging_ = false;
}

void ItemMapView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & (Qt::LeftButton | Qt::MiddleButton)))
        return;
    if (!dragging_ && (event->position() - pressedAt_).manhattanLength() < kDragThreshold)
        return;
    dragging_ = true;
    offset_ += event->position() - lastDragAt_;
    lastDragAt_ = event->position();
    fitted_ = false;
    update();
}

void ItemMapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ || event->button() != Qt::LeftButton)
        return;
    const int index = markAt(event->position());
    if (index >= 0) {
        setSelected(index);
        emit markClicked(index);
    }
}

}  // namespace tagwarden
