#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/mesh/mesh_header.h"

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
    static constexpr std::size_t kGameTypes = 11;
    // Our own plain names for the eleven multiplayer game types, in bit order.
    static const std::array<const char*, kGameTypes> kGameTypeNames;

    MeshEditorDialog(MeshModel& model, Prompter& prompter, QWidget* parent = nullptr);

    void accept() override;

signals:
    void viewItemsRequested();

private:
    struct CodeRow;
    QWidget* makeUpperBox();
    QWidget* makeLowerBox();
    QWidget* makeSide();
    void addCodeRows(QFormLayout& form, std::initializer_list<CodeRow> rows);
    QLineEdit* addNumberRow(QFormLayout& form, const char* label, const char* name, MeshNumber field);
    // Copies the form into the model, the numbers already checked.
    void fromForm(const std::vector<std::int32_t>& numbers);

    MeshModel& model_;
    Prompter& prompter_;
    QLineEdit* mapName_ = nullptr;
    QLineEdit* description_ = nullptr;
    std::vector<std::pair<MeshCode, QLineEdit*>> codes_;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* meshOffset_ = nullptr;
    QLineEdit* maxTeams_ = nullptr;
    QRadioButton* single_ = nullptr;
    QRadioButton* multi_ = nullptr;
    std::array<QCheckBox*, kGameTypes + 1> gameTypes_{};  // the last one is "None"
};

}  // namespace tagwarden
