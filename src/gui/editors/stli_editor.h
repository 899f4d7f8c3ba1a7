#pragma once

#include <memory>

#include "core/editors/editor_tag_file.h"
#include "core/editors/stli_text.h"

namespace tagwarden {

class StliEditorDialog;

// The string-list editor: a plug-in holding one stli tag and the modeless form
// that edits it as text. Destroying the editor destroys the form unsaved and
// closes the file.
class StliEditor : public EditorTagFile {
public:
    static constexpr const char* kWriteFailedMessage = kStliWriteFailedMessage;

    StliEditor(SettingsStore& settings, Prompter& prompter);
    ~StliEditor() override;

    // Chooses a plug-in, reads it and shows the form. False only when the file
    // chooser was cancelled; a file that cannot be edited is explained instead.
    [[nodiscard]] bool start();
    // The form's id, name and length into the header, then header and `bytes`
    // into the file; false (after "Write Failed") when nothing was written. When
    // the edit dropped zero bytes or line feeds of the list, asks first.
    [[nodiscard]] bool save(const std::vector<std::uint8_t>& bytes);
    // What OK writes, without hiding the form: for the main window's question
    // about unsaved changes.
    [[nodiscard]] bool saveChanges();
    // Whether OK would write other bytes than the file holds. False without a form.
    [[nodiscard]] bool hasUnsavedChanges() const;

    // The form, once a file was read; nothing before.
    [[nodiscard]] StliEditorDialog* form() const { return form_.get(); }

private:
    std::unique_ptr<StliEditorDialog> form_;
};

}  // namespace tagwarden
