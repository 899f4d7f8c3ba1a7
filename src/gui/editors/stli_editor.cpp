#include "gui/editors/stli_editor.h"

#include "core/prompt/prompter.h"
#include "gui/common/editor_chrome.h"
#include "gui/compare/compare_dialog.h"

namespace tagwarden {

StliEditor::StliEditor(SettingsStore& settings, Prompter& prompter) : EditorTagFile(settings, prompter) {}

StliEditor::~StliEditor() = default;

bool StliEditor::start()
{
    const Reported<Started> started = openAndRead("stli");
    showNotices(prompter(), started.notices);
    if (!started.value.data)
        return started.value.outcome != OpenOutcome::Cancelled;
    form_ = std::make_unique<StliEditorDialog>(values_.undoStack());
    form_->setFilePath(filePath());
    addCompareAction(*form_, [this] { return filePath(); });
    form_->setSaved(*started.value.data);
    values_.start({*started.value.data, id(), name()}, [this](const Values& values) { form_->showValues(values); });
    form_->setSaveHandler([this] { return saveChanges(); });
    form_->setDiscardHandler([this] { discard(); });
    QObject::connect(form_.get(), &StliEditorDialog::edited, form_.get(),
                     [this](const QString& field) { values_.edit(form_->valuesOver(values_.current()), field); });
    form_->show();
    return true;
}

bool StliEditor::startWith(const std::string& path)
{
    chooseNext(path);
    return start();
}

bool StliEditor::saveChanges()
{
    if (!form_ || raiseRunningDialog())
        return false;
    const StliDrops dropped = form_->dropped();
    if (dropped.any() && prompter().message(stliDropsMessage(dropped) + " Save it anyway?",
                                            Prompter::Buttons::OkCancel,
                                            Prompter::Icon::Exclamation) == Prompter::Answer::Cancel)
        return false;
    const Values& current = values_.current();
    setName(current.description);
    setId(current.shortName);
    setDataLength(static_cast<std::uint32_t>(current.bytes.size()));
    storeHeaderFields();
    const Reported<bool> written = writeTag(current.bytes);
    showNotices(prompter(), written.notices);
    if (!written.value) {
        prompter().message(kWriteFailedMessage);
        return false;
    }
    values_.markSaved();
    form_->setSaved(current.bytes);
    return true;
}

bool StliEditor::hasUnsavedChanges() const
{
    if (!form_)
        return false;
    const Values& current = values_.current();
    return writeChanges(
        headerWith(current.description, current.shortName, static_cast<std::uint32_t>(current.bytes.size())),
        current.bytes);
}

void StliEditor::discard()
{
    if (form_)
        values_.discard();
}

}  // namespace tagwarden
