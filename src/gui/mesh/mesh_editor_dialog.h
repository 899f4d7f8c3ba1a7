#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "core/mesh/mesh_form.h"
#include "core/mesh/mesh_header.h"
#include "core/mesh/mesh_model.h"
#include "core/tags/tag_entry.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QRadioButton;

namespace tagwarden {

class EditorChrome;
class MeshSession;
class Prompter;

// The map form: the tag's name and id and the map header's codes, numbers,
// player mode and game types. Every edit goes into the model at once, as a step
// of the editor's undo stack. "OK" confirms and writes the map back; "Cancel" and
// the close box put the model back to what the file holds and hide the form.
class MeshEditorDialog : public QDialog {
    Q_OBJECT
public:
    MeshEditorDialog(MeshSession& session, Prompter& prompter, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;
    // "OK" without its confirmation and without hiding the form: checks the
    // numbers (telling the user about a refused one) and writes the map. True
    // when every byte was written.
    [[nodiscard]] bool save();
    // Whether a number field holds what the model cannot take (saving refuses it).
    [[nodiscard]] bool holdsRefusedNumber() const;

signals:
    void viewItemsRequested();
    void itemMapRequested();

private:
    QWidget* makeUpperBox();
    QWidget* makeLowerBox();
    QWidget* makeSide();
    // View Items, OK and Cancel: outside the scrolling fields, always within reach.
    QWidget* makeButtons();
    void addCodeRows(QFormLayout& form, std::span<const MeshCodeRow> rows);
    void addShownNumberRow(QFormLayout& form, const MeshNumberRow& row);
    // The fields' values into `headers`; a field that reads as the file's value keeps the file's bytes.
    void fromForm(MeshHeaders& headers) const;
    // A field changed: one step of the stack (merged with the last one of field `field` above 0).
    void edited(int field);
    // Shows the model in every field.
    void showModel();

    MeshSession& session_;
    MeshModel& model_;
    Prompter& prompter_;
    EditorChrome* chrome_ = nullptr;
    // The headers as the file holds them.
    MeshHeaders saved_;
    bool showing_ = false;
    QLineEdit* mapName_ = nullptr;
    QLineEdit* description_ = nullptr;
    std::vector<std::pair<MeshCode, QLineEdit*>> codes_;
    QLineEdit* maxTeams_ = nullptr;
    QRadioButton* single_ = nullptr;
    QRadioButton* multi_ = nullptr;
    std::array<QCheckBox*, kMeshGameTypes + 1> gameTypes_{};  // the last one is "None"
};

}  // namespace tagwarden
