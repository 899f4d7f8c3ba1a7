#pragma once

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <utility>

namespace tagwarden {

// One step on an editor's undo stack: the editor's whole state before and after
// an edit, and how to show a state. Steps that edit the same field one after the
// other (typing) merge into one; a step that ends where it began drops out.
template <typename State>
class StateStep : public QUndoCommand {
public:
    using Show = std::function<void(const State&)>;

    // `field` names what was edited; an empty one never merges (a click).
    StateStep(Show show, State before, State after, QString field)
        : show_(std::move(show)), before_(std::move(before)), after_(std::move(after)), field_(std::move(field))
    {
        setText(field_);
    }

    void undo() override { show_(before_); }
    void redo() override { show_(after_); }
    [[nodiscard]] int id() const override { return field_.isEmpty() ? -1 : kMergingId; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = dynamic_cast<const StateStep*>(other);
        if (!next || next->field_ != field_)
            return false;
        after_ = next->after_;
        setObsolete(before_ == after_);
        return true;
    }

private:
    static constexpr int kMergingId = 0x7467;

    Show show_;
    State before_;
    State after_;
    QString field_;
};

}  // namespace tagwarden
