#include "gui/editors/mons_editor.h"

#include "core/prompt/prompter.h"
#include "gui/common/editor_chrome.h"
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
    form_ = std::make_unique<MonsEditorDialog>(prompter(), values_.undoStack());
    form_->setFilePath(filePath());
    addCompareAction(*form_, [this] { return filePath(); });
    values_.start({MonsBlock::decode(MonsBlock::ConstData(data_.data(), MonsBlock::kSize)), id(), name()},
                  [this](const Values& values) { form_->showValues(values, dataLength()); });
    form_->fillCodeLists(idsOfType_, values_.current().block);
    form_->setCloseHandler([this](bool ok) { return mayClose(ok); });
    QObject::connect(form_.get(), &MonsEditorDialog::saveRequested, form_.get(), [this] { (void)save(); });
    QObject::connect(form_.get(), &MonsEditorDialog::edited, form_.get(),
                     [this](const QString& field) { values_.edit(form_->valuesOver(values_.current()), field); });
    form_->show();
    return true;
}

std::vector<std::uint8_t> MonsEditor::encoded(const Values& values) const
{
    std::vector<std::uint8_t> data = data_;
    values.block.encodeChangesInto(MonsBlock::Data(data.data(), MonsBlock::kSize), values_.saved().block);
    return data;
}

bool MonsEditor::save()
{
    if (!form_ || raiseRunningDialog() || !form_->checkRanges(values_.current()))
        return false;
    const Values& current = values_.current();
    std::vector<std::uint8_t> data = encoded(current);
    setId(current.shortName);
    setName(current.description);
    storeHeaderFields();
    const Reported<bool> written = writeTag(data);
    showNotices(prompter(), written.notices);
    if (!written.value)
        return false;
    data_ = std::move(data);
    values_.markSaved();
    return true;
}

bool MonsEditor::hasUnsavedChanges() const
{
    if (!form_)
        return false;
    const Values& current = values_.current();
    return !MonsEditorDialog::inRange(current) ||
           writeChanges(headerWith(current.description, current.shortName, dataLength()), encoded(current));
}

void MonsEditor::discard()
{
    if (form_)
        values_.discard();
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
