#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/io/file.h"
#include "core/tags/tag_directory.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tagwarden {

class FileError;
class MeshEditor;
class MonsEditor;
class ObjectListModel;
class Prompter;
class SettingsDialog;
class SettingsStore;
class StliEditor;

// The main window: opens an archive or a plug-in, lists its objects filtered by
// type, and starts every other feature from the selected line.
class BrowserDialog : public QDialog, public DirectoryObserver {
    Q_OBJECT

public:
    BrowserDialog(SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);
    ~BrowserDialog() override;

    // What other parts of the program ask of the main window.
    [[nodiscard]] File* openFile() { return file_.isOpen() ? &file_ : nullptr; }
    [[nodiscard]] const std::string& filePath() const { return path_; }
    [[nodiscard]] std::string idsOfType(const std::string& type) const { return directory_.idsOfType(type); }
    void setStatus(const std::string& text) override;
    void refillTypeFilter() override;
    void closeFile();
    void releaseEditors();
    // Empties the directory and the list without a word (program end).
    void clearDirectory();
    [[nodiscard]] SettingsStore& settings() { return settings_; }
    [[nodiscard]] Prompter& prompter() { return prompter_; }

    [[nodiscard]] const TagDirectory& directory() const { return directory_; }
    [[nodiscard]] bool archiveOpen() const { return archiveOpen_; }
    [[nodiscard]] const std::string& fileName() const { return fileName_; }
    [[nodiscard]] QString statusText() const { return status_; }
    [[nodiscard]] SettingsDialog* settingsDialog() { return settingsDialog_.get(); }
    [[nodiscard]] MonsEditor* unitEditor() { return unitEditor_.get(); }
    [[nodiscard]] bool unitEditorOpen() const { return unitEditorOpen_; }
    [[nodiscard]] StliEditor* stringListEditor() { return stringListEditor_.get(); }
    [[nodiscard]] bool stringListEditorOpen() const { return stringListEditorOpen_; }
    [[nodiscard]] MeshEditor* mapEditor() { return mapEditor_.get(); }

public slots:
    void onOpen();
    void onObjectHeader();
    void onObjectData();
    void onSettings();
    void onDumpMap();
    void onAbout();
    // "Extract Selected...": every selected tag as a plug-in under TYPE/ID of a
    // folder (local/ of the tags directory unless another is picked), one
    // progress dialog, one summary.
    void onExtractSelected();
    void onEditMons();
    void onEditStli();
    void onEditMesh();
    // "Edit Plug-In": the selected tag's plug-in under local/TYPE/ of the tags
    // directory in its editor, made from the open file first when there is none.
    void onEditPlugIn();
    // "Compare with Archive": the selected tag's plug-in against the archive's tag.
    void onCompareWithArchive();
    // Opens `path` as "Open a File" does once a file is chosen (the clearing notice
    // first, when a file is open); false when it was cancelled or failed.
    bool openPath(const std::string& path);

protected:
    // Ending the window (Exit, Escape, closing it) first settles unsaved editor work.
    void done(int result) override;
    // Enter on a line of the object list opens its header.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape and Enter never end the window: Exit, Ctrl+Q and the close box do.
    void keyPressEvent(QKeyEvent* event) override;
    // Coming to the front, the title catches up with archives opened elsewhere meanwhile.
    void changeEvent(QEvent* event) override;
    // A file dropped on the window opens as if chosen in "Open a File".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
#ifdef Q_OS_WIN
    // The "&About Tagwarden..." item of the window's system menu.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    struct Command;
    static const Command kCommands[];
    [[nodiscard]] QPushButton* commandButton(const char* objectName);
    void buildControls();
    [[nodiscard]] QMenuBar* buildMenus();
    void fillRecentMenu();
    void showFileInTitle();
    void restoreWindowGeometry();
    void addAboutToSystemMenu();
    void addListLine(std::size_t index) override;
    [[nodiscard]] bool clearWithNotice();
    void readOpenFile();
    void finishListing();
    void reportFileError(const FileError& error);
    // Asks about every editor with unsaved changes (save, discard or cancel);
    // false when the user cancelled or a save failed, so nothing may close.
    [[nodiscard]] bool settleUnsavedWork();
    void refillObjectList();
    void onListSelectionChanged();
    void onFilterChanged();
    void onSearchChanged();
    // The filter's text and " Objects", with how many of how many a search shows.
    void showListStatus();
    // The current line, when it is selected.
    [[nodiscard]] std::optional<int> selectedRow() const;
    // The entries of every selected line, in list order.
    [[nodiscard]] std::vector<std::uint32_t> selectedEntries() const;
    // Marks the lines whose plug-in exists under local/ of the tags directory.
    void refreshPlugIns();
    // Commands that need an open file are enabled only while one is.
    void enableFileCommands();
    // The open file as titles name it: "tags.gor", or "tags.gor (folder)" when
    // another running Tagwarden has an archive of the same name open.
    [[nodiscard]] QString archiveTitle() const;
    void restoreListColumns();
    // Each editor replaced by a new one on the plug-in at `path`, or on one chosen
    // when no path is given; the old one's unsaved work is settled first.
    void editUnit(const std::optional<std::string>& path);
    void editStringList(const std::optional<std::string>& path);
    void editMap(const std::optional<std::string>& path);
    // The plug-in of `entry` in the tags directory; asks to make it from the open
    // file when there is none. Nothing when it was not made (the user was told why).
    [[nodiscard]] std::optional<std::string> plugInOf(const TagEntry& entry);
    // Where the plug-in of `entry` lies in the tags directory: local/TYPE/ID.
    [[nodiscard]] std::string plugInPathOf(const TagEntry& entry);
    void showListMenu(const QPoint& at);
    [[nodiscard]] TagEntry entryOfRow(int row) const;

    SettingsStore& settings_;
    Prompter& prompter_;
    TagDirectory directory_;
    File file_;
    bool archiveOpen_ = false;
    std::string path_;
    std::string fileName_;
    QString status_;
    int selectedIndex_ = 0;
    std::unique_ptr<SettingsDialog> settingsDialog_;
    std::unique_ptr<MonsEditor> unitEditor_;
    bool unitEditorOpen_ = false;
    std::unique_ptr<StliEditor> stringListEditor_;
    bool stringListEditorOpen_ = false;
    std::unique_ptr<MeshEditor> mapEditor_;

    // How many lines the reading under way listed; they are sorted once it ends.
    std::size_t listedLines_ = 0;
    bool selectingSilently_ = false;

    ObjectListModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* search_ = nullptr;
    std::vector<QWidget*> fileButtons_;
    std::vector<QAction*> fileActions_;
    QComboBox* filter_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* editPlugIn_ = nullptr;
    QAction* extractSelected_ = nullptr;
    QAction* compareWithArchive_ = nullptr;
};

}  // namespace tagwarden
