#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <QWidget>

namespace tagwarden {

class MeshModel;

// What the map editor's windows share: the model, which holds the truth, and one
// undo stack over it, whose clean state is what the file holds.
class MeshSession : public QObject {
    Q_OBJECT
public:
    explicit MeshSession(MeshModel& model);

    [[nodiscard]] MeshModel& model() const { return model_; }
    [[nodiscard]] QUndoStack& stack() { return stack_; }
    [[nodiscard]] const QUndoStack& stack() const { return stack_; }

    // A window of the editor: a dialog running over it holds off what would hide
    // a window or change the model under that dialog.
    void addWindow(QWidget& window);
    // When a modal dialog runs over one of the editor's windows (a record form, a
    // message box, a file chooser), brings it to the front and answers true: the
    // caller then does nothing else.
    [[nodiscard]] bool raiseRunningDialog() const;
    // Puts the model back to what the file holds; the stack ends clean.
    void discardChanges();

signals:
    // After every step done, undone or redone, a save, and discardChanges.
    void modelChanged();

private:
    MeshModel& model_;
    QUndoStack stack_;
    QList<QPointer<QWidget>> windows_;
};

}  // namespace tagwarden
