#include "gui/editors/stli_editor.h"

#include "core/prompt/prompter.h"
#include "gui/editors/stli_editor_dialog.h"

namespace tagwarden {

StliEditor::StliEditor(SettingsStore& settings, Prompter& prompter) : EditorTagFile(settings, prompter) {}

StliEditor::~StliEditor() = default;

bool StliEditor::start()
{
    const Reported<Started> started = openAndRead("stli");
    showNotices(prompter(), started.notices);
    if (!started.value.data)
        return started.value.outcome != OpenOutcome::Cancelled;
    form_ = std::make_unique<StliEditorDialog>();
    form_->setValues(*started.value.data, id(), name(), dataLength());
    form_->setSaveHandler([this] { return saveChanges(); });
    form_->show();
    return true;
}

bool StliEditor::save(const std::vector<std::uint8_t>& bytes)
{
    if (!form_)
        return false;
    const StliDrops dropped = form_->dropped();
    if (dropped.any() && prompter().message(stliDropsMessage(dropped) + " Save it anyway?",
                                            Prompter::Buttons::OkCancel,
                                            Prompter::Icon::Exclamation) == Prompter::Answer::Cancel)
        return false;
    setName(form_->description());
    setId(form_->shortName());
    setDataLength(form_->length());
    storeHeaderFields();
    const Reported<bool> written = writeTag(bytes);
    showNotices(prompter(), written.notices);
    if (!written.value)
        prompter().message(kWriteFailedMessage);
    return written.value;
}

bool StliEditor::saveChanges() { return form_ && save(form_->rawBytes()); }

bool StliEditor::hasUnsavedChanges() const
{
    return form_ && writeChanges(headerWith(form_->description(), form_->shortName(), form_->length()), form_->rawBytes());
}

}  // namespace tagwarden
