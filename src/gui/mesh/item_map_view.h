#pragma once

#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <cstdint>
#include <vector>

class QPainter;

namespace tagwarden {

// Where the placed items of a map stand, seen from above: one mark per item at
// its x/y position, its shape and colour telling its category. The wheel zooms
// about the pointer, dragging pans, a click picks the nearest mark.
class ItemMapView : public QWidget {
    Q_OBJECT

public:
    struct Mark {
        QPointF position;  // in map units
        std::int16_t category;
    };

    explicit ItemMapView(QWidget* parent = nullptr);

    // Replaces the marks and shows them all; the selection is dropped.
    void setMarks(std::vector<Mark> marks);
    [[nodiscard]] const std::vector<Mark>& marks() const { return marks_; }
    // The highlighted mark (an index into marks()), or -1.
    void setSelected(int index);
    [[nodiscard]] int selected() const { return selected_; }
    // Shows every mark again after zooming and panning.
    void fitAll();
    // The widget's point where a map position is drawn.
    [[nodiscard]] QPointF toScreen(QPointF position) const;

    // Draws the mark of `category` centred at `centre` (also for the legend).
    static void drawMark(QPainter& painter, std::int16_t category, QPointF centre, qreal radius);

    [[nodiscard]] QSize sizeHint() const override { return {640, 480}; }

signals:
    void markClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] QPointF toMap(QPointF point) const;
    [[nodiscard]] int markAt(QPointF point) const;
    void drawGrid(QPainter& painter) const;

    std::vector<Mark> marks_;
    int selected_ = -1;
    QRectF bounds_;      // the marks' extent in map units
    qreal scale_ = 1;    // pixels per map unit
    QPointF offset_;     // widget point of map position (0, 0)
    bool fitted_ = true;  // follow resizes until the user zooms or pans
    QPointF pressedAt_;
    QPointF lastDragAt_;
    bool dragging_ = false;
};

}  // namespace tagwarden
