#pragma once

#include <QSpinBox>

namespace tagwarden {

// A number edit with its spin button. The arrows (buttons and keys) step within a
// step range and wrap around at its ends, while typing may go anywhere within the
// box's own range, which is wider: the form checks typed values when it reads them.
class WrappingSpinBox : public QSpinBox {
public:
    explicit WrappingSpinBox(QWidget* parent = nullptr);

    void setStepRange(int minimum, int maximum);
    // Greys the number out and stops typing over it; the arrows still change it.
    void setTypingEnabled(bool enabled);

    void stepBy(int steps) override;

protected:
    // Digits only: no sign, no blanks.
    QValidator::State validate(QString& text, int& position) const override;
    [[nodiscard]] StepEnabled stepEnabled() const override;

private:
    int stepMinimum_ = 0;
    int stepMaximum_ = 99;
};

}  // namespace tagwarden
