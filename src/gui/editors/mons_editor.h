#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/editors/editor_tag_file.h"
#include "gui/common/edited_values.h"
#include "gui/editors/mons_editor_dialog.h"

namespace tagwarden {

// The unit editor: a plug-in holding one mons tag, its 512-byte data block and the
// modeless form that shows it. The editor holds the values (what the file holds,
// and what the form made of them) and the undo stack of every edit; the stack is
// clean while the values are the file's. Destroying the editor destroys the form
// unsaved and closes the file.
class MonsEditor : public EditorTagFile {
public:
    using Values = MonsEditorDialog::Values;
    // The ids of all tags of a type in the main window's open file, 4 bytes each.
    using IdsOfType = std::function<std::string(const std::string&)>;

    MonsEditor(SettingsStore& settings, Prompter& prompter, IdsOfType idsOfType);
    ~MonsEditor() override;

    // Chooses a plug-in, reads it and shows the form. False only when the file
    // chooser was cancelled; a file that cannot be edited is explained instead.
    [[nodiscard]] bool start();
    // The same with the plug-in at `path`, no chooser asked.
    [[nodiscard]] bool startWith(const std::string& path);
    // "Save Changes": the values into the block and the header, then only the bytes
    // that changed into the file. False when nothing was written (the user was told why).
    [[nodiscard]] bool save();
    // The same save, for the main window's question about unsaved changes.
    [[nodiscard]] bool saveChanges() { return save(); }
    // Whether saving would write other bytes than the file holds: an edited field,
    // or one that fails its range check. False without a form.
    [[nodiscard]] bool hasUnsavedChanges() const;
    // Puts the form and the values back to what the file holds, forgetting the undo steps.
    void discard();

    // The form, once a file was read; nothing before.
    [[nodiscard]] MonsEditorDialog* form() const { return form_.get(); }
    [[nodiscard]] QUndoStack& undoStack() { return values_.undoStack(); }
    [[nodiscard]] const Values& values() const { return values_.current(); }

private:
    [[nodiscard]] bool show(Reported<Started> started);
    // The block as saving `values` writes it.
    [[nodiscard]] std::vector<std::uint8_t> encoded(const Values& values) const;
    // OK asks about unsaved work; Cancel and the close box discard it.
    [[nodiscard]] bool mayClose(bool ok);

    IdsOfType idsOfType_;
    std::vector<std::uint8_t> data_;  // the data block as the file holds it
    EditedValues<Values> values_;
    std::unique_ptr<MonsEditorDialog> form_;
};

}  // namespace tagwarden
