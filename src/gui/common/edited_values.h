#pragma once

#include <QUndoStack>

#include <functional>
#include <utility>

#include "gui/common/state_step.h"

namespace tagwarden {

// What an editor holds of its form: the values as the file holds them, the values
// as edited, and the undo steps between them. The stack is clean at the file's
// values; every change of the current values goes through `show`, so the form
// always shows them.
template <typename Values>
class EditedValues {
public:
    using Show = std::function<void(const Values&)>;

    // The file's values, shown.
    void start(Values saved, Show show)
    {
        saved_ = std::move(saved);
        show_ = std::move(show);
        setCurrent(saved_);
    }
    [[nodiscard]] const Values& current() const { return current_; }
    [[nodiscard]] const Values& saved() const { return saved_; }
    [[nodiscard]] QUndoStack& undoStack() { return undo_; }

    // The form's new values as one undo step, merged with the last one when it
    // edited the same `field` (an empty one never merges).
    void edit(Values after, const QString& field)
    {
        if (after == current_)
            return;
        undo_.push(new StateStep<Values>([this](const Values& values) { setCurrent(values); }, current_,
                                         std::move(after), field));
    }
    // The current values are now what the file holds.
    void markSaved()
    {
        saved_ = current_;
        undo_.setClean();
    }
    // Back to what the file holds, the undo steps forgotten.
    void discard()
    {
        setCurrent(saved_);
        undo_.clear();
    }

private:
    void setCurrent(const Values& values)
    {
        current_ = values;
        if (show_)
            show_(current_);
    }

    Values saved_;
    Values current_;
    Show show_;
    QUndoStack undo_;
};

}  // namespace tagwarden
