#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tagwarden {

// The up and down arrows beside a number field. They step the field's number
// within their own range (stopping at its ends) and write it into the field,
// which may still hold any typed number outside that range. The arrows take
// their accessible names from the buddy's: "Max Teams Up", "Max Teams Down".
class BuddySpin : public QWidget {
    Q_OBJECT
public:
    BuddySpin(QLineEdit& buddy, int minimum, int maximum, QWidget* parent = nullptr);

    // The position the arrows step from, clamped into their range.
    void setPosition(int position);
    [[nodiscard]] int position() const { return position_; }
    void stepBy(int steps);

private:
    QToolButton* arrow(Qt::ArrowType type, int steps);

    QLineEdit& buddy_;
    int minimum_;
    int maximum_;
    int position_;
};

}  // namespace tagwarden
