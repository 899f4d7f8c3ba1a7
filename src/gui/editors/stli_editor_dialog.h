#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/editors/stli_text.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tagwarden {

class StliTextView;

// The string-list form "Tagwarden - STLI Editor": the list as text above a hex
// view of its bytes, rebuilt on every change of the text. OK saves through the
// editor and hides the form; Cancel hides it without saving.
class StliEditorDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Tagwarden - STLI Editor";
    // Saves the form; false keeps the form open.
    using SaveHandler = std::function<bool()>;

    StliEditorDialog();
    ~StliEditorDialog() override;

    // Shows the data as read (`bytes`); `shortName` and `description` are raw header bytes.
    void setValues(const std::vector<std::uint8_t>& bytes, const std::string& shortName, const std::string& description,
                   std::uint32_t length);
    void setSaveHandler(SaveHandler handler) { saveHandler_ = std::move(handler); }

    // The bytes that saving writes: the data as read until the text is changed.
    [[nodiscard]] const std::vector<std::uint8_t>& rawBytes() const { return rawBytes_; }
    [[nodiscard]] std::uint32_t length() const { return static_cast<std::uint32_t>(rawBytes_.size()); }
    [[nodiscard]] std::string shortName() const;
    [[nodiscard]] std::string description() const;
    // The zero bytes and line feeds of the data as read that the edit of the text
    // dropped; none before the first edit. The form says how many an edit drops.
    [[nodiscard]] StliDrops dropped() const { return edited_ ? drops_ : StliDrops{}; }

    void accept() override;

private:
    void rebuild();
    void showHex(const std::string& hex);
    void showText(const QString& display);
    void followTextScroll();
    void showDropNotice();

    QLineEdit* shortName_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* length_ = nullptr;
    StliTextView* textView_ = nullptr;
    QPlainTextEdit* hexView_ = nullptr;
    QLabel* dropNotice_ = nullptr;
    std::vector<std::uint8_t> rawBytes_;
    StliDrops drops_;      // of the data as read
    bool edited_ = false;  // the text was changed since it was read
    SaveHandler saveHandler_;
    bool showing_ = false;  // the form itself is changing the text view
};

}  // namespace tagwarden
