#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/editors/mons_block.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QUndoStack;

namespace tagwarden {

class EditorChrome;
class Prompter;
class WrappingSpinBox;

// The unit form "Tagwarden - MONS editor": shows the known values of a mons block
// and the tag's id and name, and turns every edit of a field into new values for
// its editor, which holds them and their undo steps. "Save Changes" (and Ctrl+S)
// asks the editor to save; OK and Cancel ask it whether the form may close.
class MonsEditorDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Tagwarden - MONS editor";
    using IdsOfType = std::function<std::string(const std::string&)>;

    // What the form shows: the block, and the header texts as raw bytes.
    struct Values {
        MonsBlock block;
        std::string shortName;    // "Name:", the tag's id
        std::string description;  // "Description:", the tag's name

        bool operator==(const Values&) const = default;
    };
    // Whether the form may close: `ok` for OK, false for Cancel and the close box.
    using CloseHandler = std::function<bool(bool ok)>;

    MonsEditorDialog(Prompter& prompter, QUndoStack& undoStack);
    ~MonsEditorDialog() override;

    // Shows `values`, changing only the fields that show something else, so that
    // the field being typed in keeps its caret; `dataLength` is shown only.
    void showValues(const Values& values, std::uint32_t dataLength);
    // Offers in each code list the ids of its tag type (4 bytes each, from the
    // main window) around the code of `block`, which stays selected.
    void fillCodeLists(const IdsOfType& idsOfType, const MonsBlock& block);
    // The values the fields show, over `current`: a text that still reads as a
    // stored code or header text keeps its bytes. A cleared number is WrappingSpinBox::kBlank.
    [[nodiscard]] Values valuesOver(const Values& current) const;
    // Whether `values` pass the range checks; if not, tells the user which and
    // shows the form with the focus on that field.
    [[nodiscard]] bool checkRanges(const Values& values);
    // Whether every number of `values` is within its range.
    [[nodiscard]] static bool inRange(const Values& values);
    void setFilePath(const std::string& path);
    void setCloseHandler(CloseHandler handler) { closeHandler_ = std::move(handler); }

signals:
    void saveRequested();
    // A field was edited; `field` names it.
    void edited(const QString& field);

protected:
    void done(int result) override;
    // Enter in a field does not close the form.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildTopRow();
    QWidget* buildGeneralGroup();
    QWidget* buildTerrainGroup();
    QWidget* buildAttacksGroup();
    QWidget* buildAttackColumn(const QString& title, bool primary);
    void reportEdits();
    WrappingSpinBox* spin(const char* name) const;
    QComboBox* combo(const char* name) const;

    Prompter& prompter_;
    EditorChrome* chrome_ = nullptr;
    CloseHandler closeHandler_;
    QLineEdit* shortName_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* dataLength_ = nullptr;
    QCheckBox* stone_ = nullptr;
    QRadioButton* heals_ = nullptr;
    QRadioButton* kills_ = nullptr;
    std::array<QCheckBox*, MonsBlock::kTerrainCount> terrain_{};
    bool showing_ = false;  // the form itself is changing its fields
};

}  // namespace tagwarden
