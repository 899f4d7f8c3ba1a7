#include "gui/editors/mons_editor.h"

#include "core/prompt/prompter.h"
#include "gui/common/editor_chrome.h"
#include "gui/common/state_step.h"
#include "gui/compare/compare_dialog.h"
#include "gui/editors/mons_editor_dialog.h"

namespace tagwarden {

MonsEditor::MonsEditor(SettingsStore& settings, Prompter& prompter, IdsOfType idsOfType)
    : EditorTagFile(settings, prompter), idsOfType_(std::move(idsOfType))
{
}

MonsEditor::~MonsEditor() = default;

bool MonsEditor::start() { return show(openAndRead("mons", MonsBlock::kSize)); }

bool MonsEditor::startWith(const std::string& path)
{
    chooseNext(path);
    return start();
}

bool MonsEditor::show(Reported<Started> started)
{
    showNotices(prompter(), started.notices);
    if (!started.value.data)
        return started.value.outcome != OpenOutcome::Cancelled;
    data_ = std::move(*started.value.data);
    saved_ = {MonsBlock::decode(MonsBlock::ConstData(data_.data(), MonsBlock::kSize)), id(), name()};
    current_ = saved_;
    form_ = std::make_unique<MonsEditorDialog>(prompter(), undo_);
    form_->setFilePath(filePath());
    addCompareAction(*form_, [this] { return filePath(); });
    form_->showValues(current_, dataLength());
    form_->fillCodeLists(idsOfType_, current_.block);
    form_->setCloseHandler([this](bool ok) { return mayClose(ok); });
    QObject::connect(form_.get(), &MonsEditorDialog::saveRequested, form_.get(), [this] { (void)save(); });
    QObject::connect(form_.get(), &MonsEditorDialog::edited, form_.get(),
                     [this](const QString& field) { onEdited(field); });
    form_->show();
    return true;
}

void MonsEditor::showValues(const Values& values)
{
    current_ = values;
    form_->showValues(values, dataLength());
}

void MonsEditor::onEdited(const QString& field)
{
    Values after = form_->valuesOver(current_);
    if (after == current_)
        return;
    undo_.push(new StateStep<Values>([this](const Values& values) { showValues(values); }, current_, std::move(after),
                                     field));
}

std::vector<std::uint8_t> MonsEditor::encoded(const Values& values) const
{
    std::vector<std::uint8_t> data = data_;
    values.block.encodeChangesInto(MonsBlock::Data(data.data(), MonsBlock::kSize), saved_.block);
    return data;
}

bool MonsEditor::save()
{
    if (!form_ || raiseRunningDialog() || !form_->checkRanges(current_))
        return false;
    std::vector<std::uint8_t> data = encoded(current_);
    setId(current_.shortName);
    setName(current_.description);
    storeHeaderFields();
    const Reported<bool> written = writeTag(data);
    showNotices(prompter(), written.notices);
    if (!written.value)
        return false;
    data_ = std::move(data);
    saved_ = current_;
    undo_.setClean();
    return true;
}

bool MonsEditor::hasUnsavedChanges() const
{
    if (!form_)
        return false;
    return !MonsEditorDialog::inRange(current_) ||
           writeChanges(headerWith(current_.description, current_.shortName, dataLength()), encoded(current_));
}

void MonsEditor::discard()
{
    if (!form_)
        return;
    showValues(saved_);
    undo_.clear();
}

bool MonsEditor::mayClose(bool ok)
{
    if (!ok || !hasUnsavedChanges()) {
        discard();
        return true;
    }
    switch (askAboutUnsavedWork(prompter(), "unit", filePath())) {
    case Prompter::Answer::Save:
        return save();
    case Prompter::Answer::Discard:
        discard();
        return true;
    default:
        return false;
    }
}

}  // namespace tagwarden
