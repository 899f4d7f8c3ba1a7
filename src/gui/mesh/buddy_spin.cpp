#include "gui/mesh/buddy_spin.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tagwarden {

BuddySpin::BuddySpin(QLineEdit& buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), position_(minimum)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(arrow(Qt::UpArrow, 1));
    layout->addWidget(arrow(Qt::DownArrow, -1));
}

QToolButton* BuddySpin::arrow(Qt::ArrowType type, int steps)
{
    auto* button = new QToolButton(this);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFixedSize(18, 11);
    button->setFocusPolicy(Qt::NoFocus);
    button->setObjectName(type == Qt::UpArrow ? "up" : "down");
    button->setAccessibleName(buddy_.accessibleName() + (type == Qt::UpArrow ? " Up" : " Down"));
    connect(button, &QToolButton::clicked, this, [this, steps] { stepBy(steps); });
    return button;
}

void BuddySpin::setPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void BuddySpin::stepBy(int steps)
{
    // A number typed into the field is where the next step starts from.
    bool typed = false;
    const int current = buddy_.text().toInt(&typed);
    if (typed)
        setPosition(current);
    setPosition(position_ + steps);
    buddy_.setText(QString::number(position_));
}

}  // namespace tagwarden
