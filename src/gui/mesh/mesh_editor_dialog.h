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
#include "core/tags/tag_entry.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QRadioButton;

namespace tagwarden {

class MeshModel;
class Prompter;

// The map form: the tag's name and id and the map header's codes, numbers,
// player mode and game types. "OK" confirms, takes the values into the model and
// writes the map back; "Cancel" only hides the form.
class MeshEditorDialog : public QDialog {
    Q_OBJECT
public:
    MeshEditorDialog(MeshModel& model, Prompter& prompter, QWidget* parent = nullptr);

    void accept() override;
    // "OK" without its confirmation and without hiding the form: checks the
    // numbers (telling the user about a refused one), takes the values into the
    // model and writes the map. True when every byte was written.
    [[nodiscard]] bool save();
    // Whether saving would write other bytes than the file holds: an edited or
    // refused field here, or item types and items edited in the model.
    [[nodiscard]] bool hasUnsavedChanges() const;

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
    // Copies the form into the headers, "Max Teams" already checked.
    void fromForm(std::int32_t maxTeams, MeshHeader& header, TagHeaderBytes& tagHeader) const;

    MeshModel& model_;
    Prompter& prompter_;
    QLineEdit* mapName_ = nullptr;
    QLineEdit* description_ = nullptr;
    std::vector<std::pair<MeshCode, QLineEdit*>> codes_;
    QLineEdit* maxTeams_ = nullptr;
    QRadioButton* single_ = nullptr;
    QRadioButton* multi_ = nullptr;
    std::array<QCheckBox*, kMeshGameTypes + 1> gameTypes_{};  // the last one is "None"
};

}  // namespace tagwarden
