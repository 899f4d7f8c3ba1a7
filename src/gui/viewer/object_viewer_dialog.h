#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

#include "core/tags/tag_entry.h"
#include "core/viewer/tag_data.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace tagwarden {

class File;
class Prompter;
class SettingsStore;
class ViewerLineModel;

// "Vorn Object Viewer": one tag's data as hex lines, optionally with a character
// column, and the place from which the tag is written out as a plug-in. Opening
// it loads (again) the first 2048 bytes of the entry's data from the open file
// and lists them; "Show all data" lists the whole tag, each line with its offset
// within the tag. Go to offset (Ctrl+G) and Find (Ctrl+F) search the whole tag.
class ObjectViewerDialog : public QDialog {
    Q_OBJECT

public:
    ObjectViewerDialog(const TagEntry& entry, File& openFile, const std::string& openFilePath, SettingsStore& settings,
                       Prompter& prompter, QWidget* parent = nullptr);

    // Shows the line of the byte at `offset` of the tag (listing all data when it
    // lies further); false when the tag is shorter.
    bool goToOffset(std::uint64_t offset);
    // Selects the line of the next place of `typed` (see searchPattern) after the
    // last one found, and answers its offset; nothing when it is nowhere.
    std::optional<std::size_t> find(const std::string& typed);
    void setShowAllData(bool all);

private slots:
    void onLoadObject();
    void onGoTo();
    void onFind();
    void onCreatePlugIn();
    // The selected lines, in list order, to the clipboard.
    void copySelectedLines();

private:
    void buildControls();
    void addShortcuts();
    void attach();
    // The loaded bytes as lines, in the layout the "ASCII" setting asks for now.
    void listLines();
    void selectLineOf(std::uint64_t offset);

    const TagEntry entry_;
    File& openFile_;
    std::string openFilePath_;
    SettingsStore& settings_;
    Prompter& prompter_;

    TagData data_;
    bool allData_ = false;
    std::optional<std::size_t> lastFound_;

    QLabel* titleLine_ = nullptr;
    QLabel* lengthText_ = nullptr;
    QLineEdit* startAddress_ = nullptr;
    QLineEdit* dataLength_ = nullptr;
    QListView* list_ = nullptr;
    ViewerLineModel* model_ = nullptr;
    QCheckBox* showAll_ = nullptr;
    QLabel* shownPart_ = nullptr;  // says how much of a long tag the list holds
};

}  // namespace tagwarden
