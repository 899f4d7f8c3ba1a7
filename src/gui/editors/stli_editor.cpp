#include "gui/editors/stli_editor.h"

#include "core/prompt/prompter.h"
#include "gui/common/editor_chrome.h"
#include "gui/common/state_step.h"
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
    saved_ = {*started.value.data, id(), name()};
    current_ = saved_;
    form_ = std::make_unique<StliEditorDialog>(undo_);
    form_->setFilePath(filePath());
    addCompareAction(*form_, [this] { return filePath(); });
    form_->setSaved(saved_.bytes);
    form_->showValues(current_);
    form_->setSaveHandler([this] { return saveChanges(); });
    form_->setDiscardHandler([this] { discard(); });
    QObject::connect(form_.get(), &StliEditorDialog::edited, form_.get(),
                     [this](const QString& field) { onEdited(field); });
    form_->show();
    return true;
}

bool StliEditor::startWith(const std::string& path)
{
    chooseNext(path);
    return start();
}

void StliEditor::showValues(const Values& values)
{
    current_ = values;
    form_->showValues(values);
}

void StliEditor::onEdited(const QString& field)
{
    Values after = form_->valuesOver(current_);
    if (after == current_)
        return;
    undo_.push(new StateStep<Values>([this](const Values& values) { showValues(values); }, current_, std::move(after),
                                     field));
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
    setName(current_.description);
    setId(current_.shortName);
    setDataLength(static_cast<std::uint32_t>(current_.bytes.size()));
    storeHeaderFields();
    const Reported<bool> written = writeTag(current_.bytes);
    showNotices(prompter(), written.notices);
    if (!written.value) {
        prompter().message(kWriteFailedMessage);
        return false;
    }
    saved_ = current_;
    form_->setSaved(saved_.bytes);
    undo_.setClean();
    return true;
}

bool StliEditor::hasUnsavedChanges() const
{
    return form_ && writeChanges(headerWith(current_.description, current_.shortName,
                                            static_cast<std::uint32_t>(current_.bytes.size())),
                                 current_.bytes);
}

void StliEditor::discard()
{
    if (!form_)
        return;
    showValues(saved_);
    undo_.clear();
}

}  // namespace tagwarden
