#pragma once

#include <QDialog>

#include "core/settings/settings_values.h"

class QCheckBox;
class QLineEdit;

namespace tagwarden {

class Prompter;
class SettingsStore;

// "Tagwarden Settings": the tags directory, the backup directory and three
// switches. One object lives as long as the main window; the controls are filled
// from its values each time it opens, and read back and stored only by OK.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    SettingsDialog(SettingsStore& store, Prompter& prompter, QWidget* parent = nullptr);

    // Loads the settings; on a first start writes the defaults and shows the dialog.
    void initialiseSettings();
    [[nodiscard]] bool loadSettings();
    void saveSettings();
    // The tags directory, made to end in the path separator (the field keeps it).
    [[nodiscard]] std::string getTagsDirectory();

    [[nodiscard]] const SettingsValues& values() const { return values_; }

public slots:
    void accept() override;
    void onBrowse();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void toForm();
    void fromForm();
    // Points out a tags directory that does not exist; false when the user goes back to change it.
    [[nodiscard]] bool confirmTagsDirectory();

    SettingsStore& store_;
    Prompter& prompter_;
    SettingsValues values_;

    QLineEdit* tagsEdit_ = nullptr;
    QLineEdit* backupEdit_ = nullptr;
    QCheckBox* allowMods_ = nullptr;
    QCheckBox* allowOverwrites_ = nullptr;
    QCheckBox* asciiDisplay_ = nullptr;
};

}  // namespace tagwarden
