#pragma once

#include <QDialog>

#include <string>

class QPlainTextEdit;

namespace tagwarden {

// The "Dump Map" text in a window of its own: read-only, fixed-pitch, scrollable
// and copyable, never taller than the screen, however many entries the index holds.
class DumpMapDialog : public QDialog {
    Q_OBJECT

public:
    explicit DumpMapDialog(const std::string& text, QWidget* parent = nullptr);

    [[nodiscard]] QString text() const;

private:
    void fitToScreen();

    QPlainTextEdit* view_ = nullptr;
};

}  // namespace tagwarden
