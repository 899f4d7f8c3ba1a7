#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/editors/editor_tag_file.h"
#include "gui/editors/mons_editor_dialog.h"

namespace tagwarden {

// The unit editor: a plug-in holding one mons tag, its 512-byte data block and the
// modeless form that shows it. Destroying the editor destroys the form unsaved and
// closes the file.
class MonsEditor : public EditorTagFile {
public:
    // The ids of all tags of a type in the main window's open file, 4 bytes each.
    using IdsOfType = std::function<std::string(const std::string&)>;

    MonsEditor(SettingsStore& settings, Prompter& prompter, IdsOfType idsOfType);
    ~MonsEditor() override;

    // Chooses a plug-in, reads it and shows the form. False only when the file
    // chooser was cancelled; a file that cannot be edited is explained instead.
    [[nodiscard]] bool start();
    // "Save Changes": the form's values into the block and the header, then both
    // into the file. False when nothing was written (the user was told why).
    [[nodiscard]] bool save();
    // The same save, for the main window's question about unsaved changes.
    [[nodiscard]] bool saveChanges() { return save(); }
    // Whether saving the form would write other bytes than the file holds: an
    // edited field, or one that fails its range check. False without a form.
    [[nodiscard]] bool hasUnsavedChanges() const;

    // The form, once a file was read; nothing before.
    [[nodiscard]] MonsEditorDialog* form() const { return form_.get(); }

private:
    // The block as saving `values` writes it.
    [[nodiscard]] std::vector<std::uint8_t> encoded(const MonsEditorDialog::Values& values) const;

    IdsOfType idsOfType_;
    std::vector<std::uint8_t> data_;
    std::unique_ptr<MonsEditorDialog> form_;
};

}  // namespace tagwarden
