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
class QUndoStack;

namespace tagwarden {

class EditorChrome;
class StliTextView;

// The string-list form "Tagwarden - STLI Editor": the list as text above a hex
// view of its bytes, rebuilt on every change of the text. Every edit becomes new
// values for its editor, which holds them and their undo steps. OK saves through
// the editor and hides the form; Cancel and the close box ask the editor to put
// the list back as the file holds it.
class StliEditorDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Tagwarden - STLI Editor";
    // What the form shows: the list's bytes and the header texts as raw bytes.
    struct Values {
        std::vector<std::uint8_t> bytes;
        std::string shortName;
        std::string description;

        bool operator==(const Values&) const = default;
    };
    // Saves the form; false keeps the form open.
    using SaveHandler = std::function<bool()>;

    explicit StliEditorDialog(QUndoStack& undoStack);
    ~StliEditorDialog() override;

    // Shows `values`, changing only what shows something else, so that the field
    // being typed in keeps its caret.
    void showValues(const Values& values);
    // The list as the file holds it: what the form counts its dropped bytes against.
    void setSaved(const std::vector<std::uint8_t>& bytes);
    // The values the fields show, over `current`: a header text that still reads
    // as the stored one keeps its bytes.
    [[nodiscard]] Values valuesOver(const Values& current) const;
    void setFilePath(const std::string& path);
    void setSaveHandler(SaveHandler handler) { saveHandler_ = std::move(handler); }
    void setDiscardHandler(std::function<void()> handler) { discardHandler_ = std::move(handler); }

    // The list as the form shows it.
    [[nodiscard]] const std::vector<std::uint8_t>& rawBytes() const { return rawBytes_; }
    // The zero bytes and line feeds of the list as the file holds it that the
    // edit of the text dropped; none while the bytes are the file's.
    [[nodiscard]] StliDrops dropped() const { return rawBytes_ != saved_ ? drops_ : StliDrops{}; }

    void done(int result) override;

signals:
    // A field was edited; `field` names it.
    void edited(const QString& field);

private:
    void rebuild();
    void showHex(const std::string& hex);
    void showText(const QString& display);
    void followTextScroll();
    void showDropNotice();

    EditorChrome* chrome_ = nullptr;
    QLineEdit* shortName_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* length_ = nullptr;
    StliTextView* textView_ = nullptr;
    QPlainTextEdit* hexView_ = nullptr;
    QLabel* dropNotice_ = nullptr;
    std::vector<std::uint8_t> rawBytes_;
    std::vector<std::uint8_t> saved_;
    StliDrops drops_;  // of the list as the file holds it
    SaveHandler saveHandler_;
    std::function<void()> discardHandler_;
    bool showing_ = false;  // the form itself is changing the text view
};

}  // namespace tagwarden
