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

namespace tagwarden {

class Prompter;
class WrappingSpinBox;

// The unit form "Tagwarden - MONS editor": shows the known values of a mons block
// and the tag's id and name, and hands them back range-checked. It edits nothing
// itself; "Save Changes" asks its editor to save.
class MonsEditorDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Tagwarden - MONS editor";
    using IdsOfType = std::function<std::string(const std::string&)>;

    // What the form hands back: the block with the form's values, and the header texts.
    struct Values {
        MonsBlock block;
        std::string shortName;    // "Name:", the tag's id
        std::string description;  // "Description:", the tag's name
    };

    explicit MonsEditorDialog(Prompter& prompter);
    ~MonsEditorDialog() override;

    // Shows the values; `shortName` and `description` are raw header bytes (shown up to a zero byte).
    void setValues(const MonsBlock& block, const std::string& shortName, const std::string& description,
                   std::uint32_t dataLength);
    // Offers in each code list the ids of its tag type (4 bytes each, from the main window).
    void fillCodeLists(const IdsOfType& idsOfType);
    // The form's values over the block last shown; nothing when one fails its range
    // check, after telling the user which and showing the form with the focus on it.
    [[nodiscard]] std::optional<Values> readValues();
    // The same values without a word: nothing when one fails its range check.
    [[nodiscard]] std::optional<Values> values() const;

signals:
    void saveRequested();

protected:
    void done(int result) override;

private:
    QWidget* buildTopRow();
    QWidget* buildGeneralGroup();
    QWidget* buildTerrainGroup();
    QWidget* buildAttacksGroup();
    QWidget* buildAttackColumn(const QString& title, bool primary);
    WrappingSpinBox* spin(const char* name) const;
    QComboBox* combo(const char* name) const;
    // The first number field that fails its range check, and the message that says so.
    struct Refusal {
        WrappingSpinBox* field;
        std::string message;
    };
    [[nodiscard]] std::optional<Refusal> refusal() const;
    [[nodiscard]] bool checkRanges();

    Prompter& prompter_;
    MonsBlock shown_;
    QLineEdit* shortName_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* dataLength_ = nullptr;
    QCheckBox* stone_ = nullptr;
    QRadioButton* heals_ = nullptr;
    QRadioButton* kills_ = nullptr;
    std::array<QCheckBox*, MonsBlock::kTerrainCount> terrain_{};
};

}  // namespace tagwarden
