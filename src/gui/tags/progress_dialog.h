#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "core/tags/directory_reader.h"

class QLabel;
class QProgressBar;

namespace tagwarden {

// "Reading Directory Entries": shown while an archive's directory is read. The
// reading runs on this thread, so updates repaint at once: the first one, then
// as often as the eye follows (a paint costs about as much as reading ten
// thousand entries). Cancel and Escape are accepted and ignored, the reading
// cannot be stopped.
class ProgressDialog : public QDialog, public ProgressObserver {
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    void begin() override;
    void setRange(int minimum, int maximum) override;
    void setStep(int step) override;
    void setText(const std::string& text) override;
    void stepIt() override;
    void end() override;

    [[nodiscard]] QString text() const;
    [[nodiscard]] int value() const;
    [[nodiscard]] int minimum() const;
    [[nodiscard]] int maximum() const;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void repaintNow();

    QLabel* text_;
    QProgressBar* bar_;
    int step_ = 10;
    QElapsedTimer sincePaint_;  // not started until the first update
};

}  // namespace tagwarden
