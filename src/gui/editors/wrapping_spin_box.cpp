#include "gui/editors/wrapping_spin_box.h"

#include <QLineEdit>

namespace tagwarden {

WrappingSpinBox::WrappingSpinBox(QWidget* parent) : QSpinBox(parent) { setAccelerated(true); }

void WrappingSpinBox::setStepRange(int minimum, int maximum)
{
    stepMinimum_ = minimum;
    stepMaximum_ = maximum;
}

void WrappingSpinBox::setTypingEnabled(bool enabled)
{
    lineEdit()->setReadOnly(!enabled);
    lineEdit()->setEnabled(enabled);
}

void WrappingSpinBox::stepBy(int steps)
{
    const int next = value() + steps;
    if (next > stepMaximum_)
        setValue(stepMinimum_);
    else if (next < stepMinimum_)
        setValue(stepMaximum_);
    else
        setValue(next);
    selectAll();
}

QValidator::State WrappingSpinBox::validate(QString& text, int& position) const
{
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    return QSpinBox::validate(text, position);
}

QAbstractSpinBox::StepEnabled WrappingSpinBox::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

}  // namespace tagwarden
