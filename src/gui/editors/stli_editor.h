#pragma once

#include <memory>

#include "core/editors/editor_tag_file.h"
#include "core/editors/stli_text.h"
#include "gui/common/edited_values.h"
#include "gui/editors/stli_editor_dialog.h"

namespace tagwarden {

// The string-list editor: a plug-in holding one stli tag and the modeless form
// that edits it as text. The editor holds the list (as the file holds it, and as
// edited) and the undo stack of every edit; the stack is clean while the list is
// the file's. Destroying the editor destroys the form unsaved and closes the file.
class StliEditor : public EditorTagFile {
public:
    static constexpr const char* kWriteFailedMessage = kStliWriteFailedMessage;
    using Values = StliEditorDialog::Values;

    StliEditor(SettingsStore& settings, Prompter& prompter);
    ~StliEditor() override;

    // Chooses a plug-in, reads it and shows the form. False only when the file
    // chooser was cancelled; a file that cannot be edited is explained instead.
    [[nodiscard]] bool start();
    // The same with the plug-in at `path`, no chooser asked.
    [[nodiscard]] bool startWith(const std::string& path);
    // The id, name and list into the header and the file, without hiding the form;
    // false (after "Write Failed") when nothing was written. When the edit dropped
    // zero bytes or line feeds of the list, asks first.
    [[nodiscard]] bool saveChanges();
    // Whether OK would write other bytes than the file holds. False without a form.
    [[nodiscard]] bool hasUnsavedChanges() const;
    // Puts the form and the list back to what the file holds, forgetting the undo steps.
    void discard();

    // The form, once a file was read; nothing before.
    [[nodiscard]] StliEditorDialog* form() const { return form_.get(); }
    [[nodiscard]] QUndoStack& undoStack() { return values_.undoStack(); }

private:
    EditedValues<Values> values_;
    std::unique_ptr<StliEditorDialog> form_;
};

}  // namespace tagwarden
