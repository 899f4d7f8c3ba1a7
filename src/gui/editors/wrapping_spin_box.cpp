#include "gui/editors/wrapping_spin_box.h"

namespace tagwarden {

WrappingSpinBox::WrappingSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setAccelerated(true);
    setTypedMaximum(99);
}

void WrappingSpinBox::setStepRange(int minimum, int maximum)
{
    stepMinimum_ = minimum;
    stepMaximum_ = maximum;
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
    if (text.isEmpty())
        return QValidator::Acceptable;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    return QSpinBox::validate(text, position);
}

int WrappingSpinBox::valueFromText(const QString& text) const
{
    return text.isEmpty() ? kBlank : QSpinBox::valueFromText(text);
}

QString WrappingSpinBox::textFromValue(int value) const
{
    return value == kBlank ? QString() : QSpinBox::textFromValue(value);
}

QAbstractSpinBox::StepEnabled WrappingSpinBox::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

}  // namespace tagwarden
