#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "core/prompt/prompter.h"

class QDialog;
class QPushButton;
class QUndoStack;

namespace tagwarden {

// "msaa* - Tagwarden - MONS editor": the form's own title after the plug-in's file
// name, with a "*" while the form holds changes the file does not.
[[nodiscard]] QString editorTitle(const char* title, const std::string& path, bool modified);

// What every editor form has beside its fields: Undo (Ctrl+Z) and Redo
// (Ctrl+Shift+Z, Ctrl+Y) of its undo stack, as shortcuts, as buttons and in the
// form's context menu; Save (Ctrl+S), which keeps the form open; and a title that
// names the plug-in and follows the stack's clean state (clean: what the file holds).
// Text fields of the form leave the undo keys to the stack, so that one Ctrl+Z
// undoes one step of the form wherever the focus is.
class EditorChrome : public QObject {
    Q_OBJECT
public:
    EditorChrome(QDialog& form, QUndoStack& stack, const char* title, std::function<void()> save);

    void setFilePath(const std::string& path);
    // Undo and Redo buttons, for the form to place beside its own.
    [[nodiscard]] QPushButton* undoButton() const { return undo_; }
    [[nodiscard]] QPushButton* redoButton() const { return redo_; }
    // Hands the undo keys of `field` and its children to the stack (for fields made later).
    void takeUndoKeysOf(QWidget& field);
    // Undo, Redo and Save first ask `busy`, and do nothing when it answers true
    // (for a form whose editor has other windows, where a dialog may still run).
    void holdWhile(std::function<bool()> busy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTitle();
    // Runs `step` unless the form is held.
    void unlessHeld(const std::function<void()>& step) const;

    QDialog& form_;
    QUndoStack& stack_;
    const char* title_;
    std::string path_;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    std::function<bool()> busy_;
};

// Asks whether the changes an editor (`kind`: "unit", "string-list", "map") holds
// to the plug-in at `path` are saved before it closes: Save, Discard or Cancel.
[[nodiscard]] Prompter::Answer askAboutUnsavedWork(Prompter& prompter, const char* kind, const std::string& path);

// While a modal dialog runs (a message box, a file chooser, a record form), brings
// it to the front and answers true: the caller must then neither close nor replace
// any window, since that dialog's event loop may still use it.
[[nodiscard]] bool raiseRunningDialog();
// The same for a modal dialog that runs over one of `windows` (or over a dialog of
// theirs) only: a dialog of another window does not hold these windows.
[[nodiscard]] bool raiseRunningDialogOver(const QList<const QWidget*>& windows);

}  // namespace tagwarden
