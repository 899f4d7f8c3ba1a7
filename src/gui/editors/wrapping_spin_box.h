#pragma once

#include <QSpinBox>

namespace tagwarden {

// A number edit with its spin button. The arrows (buttons and keys) step within a
// step range and wrap around at its ends, while typing may go anywhere from 0 up
// to the box's maximum, which is wider: the form checks typed values when it reads them.
//
// A cleared box is a value of its own, kBlank, shown as no text: it stays cleared
// (a plain spin box would put its last number back when the focus leaves) for the
// form's check to refuse.
class WrappingSpinBox : public QSpinBox {
public:
    static constexpr int kBlank = -1;

    explicit WrappingSpinBox(QWidget* parent = nullptr);

    // Typing may go from 0 to `maximum`.
    void setTypedMaximum(int maximum) { setRange(kBlank, maximum); }
    void setStepRange(int minimum, int maximum);

    void stepBy(int steps) override;

protected:
    // Digits only: no sign, no blanks.
    QValidator::State validate(QString& text, int& position) const override;
    [[nodiscard]] int valueFromText(const QString& text) const override;
    [[nodiscard]] QString textFromValue(int value) const override;
    [[nodiscard]] StepEnabled stepEnabled() const override;

private:
    int stepMinimum_ = 0;
    int stepMaximum_ = 99;
};

}  // namespace tagwarden
