#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "core/tags/tag_entry.h"
#include "core/viewer/tag_data.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tagwarden {

class File;
class Prompter;
class SettingsStore;

// "Vorn Object Viewer": one tag's data as hex lines, optionally with a character
// column, and the place from which the tag is written out as a plug-in. Opening
// it loads (again) the first 2048 bytes of the entry's data from the open file.
class ObjectViewerDialog : public QDialog {
    Q_OBJECT

public:
    ObjectViewerDialog(const TagEntry& entry, File& openFile, const std::string& openFilePath, SettingsStore& settings,
                       Prompter& prompter, QWidget* parent = nullptr);

private slots:
    void onLoadObject();
    void onCreatePlugIn();
    // The selected lines, in list order, to the clipboard.
    void copySelectedLines();

private:
    void buildControls();
    void attach();

    const TagEntry entry_;
    File& openFile_;
    std::string openFilePath_;
    SettingsStore& settings_;
    Prompter& prompter_;

    TagData data_;
    std::string hexText_;
    std::string characterText_;

    QLabel* titleLine_ = nullptr;
    QLabel* lengthText_ = nullptr;
    QLineEdit* startAddress_ = nullptr;
    QLineEdit* dataLength_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* shownPart_ = nullptr;  // says how much of a long tag the list holds
};

}  // namespace tagwarden
