#include "gui/mesh/mesh_session.h"

#include "core/mesh/mesh_model.h"
#include "gui/common/editor_chrome.h"

namespace tagwarden {

MeshSession::MeshSession(MeshModel& model) : model_(model)
{
    connect(&stack_, &QUndoStack::indexChanged, this, &MeshSession::modelChanged);
    // A save lays the map's tables out afresh: their offsets change.
    connect(&stack_, &QUndoStack::cleanChanged, this, &MeshSession::modelChanged);
}

void MeshSession::addWindow(QWidget& window) { windows_.append(&window); }

bool MeshSession::raiseRunningDialog() const
{
    QList<const QWidget*> windows;
    for (const QPointer<QWidget>& window : windows_)
        if (window)
            windows.append(window);
    return raiseRunningDialogOver(windows);
}

void MeshSession::discardChanges()
{
    if (stack_.cleanIndex() >= 0) {
        stack_.setIndex(stack_.cleanIndex());
    } else {
        // The saved state was dropped from the stack (undone, then a new step): read it back.
        model_.revert();
        stack_.clear();
        stack_.setClean();
    }
    // Also when nothing was undone: a field may hold text the model refused.
    emit modelChanged();
}

}  // namespace tagwarden
