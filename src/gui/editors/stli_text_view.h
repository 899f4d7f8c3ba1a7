#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace tagwarden {

// The string list's text view. The list's text ends lines with a carriage return
// and a line feed; the view shows each such pair as a line break, a final lone
// carriage return as a break too, and a line feed on its own as the visible
// symbol U+240A. Copying gives the list's form back, and pasting treats text the
// same way typing would: a carriage return (with or without a following line
// feed) starts a new line, a line feed on its own is dropped.
class StliTextView : public QPlainTextEdit {
public:
    static constexpr char16_t kLoneLineFeed = u'\u240A';

    explicit StliTextView(QWidget* parent = nullptr);

    // The list's text (Latin-1 bytes) as the view shows it, and back.
    [[nodiscard]] static QString displayText(std::string_view listText);
    [[nodiscard]] static std::string listText(const QString& display);
    // Pasted text as it lands in the view.
    [[nodiscard]] static QString pastedText(const QString& pasted);

    // The view's exact text (no character replaced as plain-text export does).
    [[nodiscard]] QString rawText() const;

protected:
    [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;
    [[nodiscard]] bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace tagwarden
