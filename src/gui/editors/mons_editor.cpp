#include "gui/editors/mons_editor.h"

#include "gui/editors/mons_editor_dialog.h"

namespace tagwarden {

MonsEditor::MonsEditor(SettingsStore& settings, Prompter& prompter, IdsOfType idsOfType)
    : EditorTagFile(settings, prompter), idsOfType_(std::move(idsOfType))
{
}

MonsEditor::~MonsEditor() = default;

bool MonsEditor::start()
{
    Reported<Started> started = openAndRead("mons", MonsBlock::kSize);
    showNotices(prompter(), started.notices);
    if (!started.value.data)
        return started.value.outcome != OpenOutcome::Cancelled;
    data_ = std::move(*started.value.data);
    form_ = std::make_unique<MonsEditorDialog>(prompter());
    form_->setValues(MonsBlock::decode(MonsBlock::ConstData(data_.data(), MonsBlock::kSize)), id(), name(),
                     dataLength());
    form_->fillCodeLists(idsOfType_);
    QObject::connect(form_.get(), &MonsEditorDialog::saveRequested, form_.get(), [this] { (void)save(); });
    form_->show();
    return true;
}

std::vector<std::uint8_t> MonsEditor::encoded(const MonsEditorDialog::Values& values) const
{
    std::vector<std::uint8_t> data = data_;
    values.block.encodeInto(MonsBlock::Data(data.data(), MonsBlock::kSize));
    return data;
}

bool MonsEditor::save()
{
    if (!form_)
        return false;
    const auto values = form_->readValues();
    if (!values)
        return false;
    std::vector<std::uint8_t> data = encoded(*values);
    setId(values->shortName);
    setName(values->description);
    storeHeaderFields();
    const Reported<bool> written = writeTag(data);
    showNotices(prompter(), written.notices);
    if (!written.value)
        return false;
    data_ = std::move(data);
    return true;
}

bool MonsEditor::hasUnsavedChanges() const
{
    if (!form_)
        return false;
    const auto values = form_->values();
    return !values || writeChanges(headerWith(values->description, values->shortName, dataLength()), encoded(*values));
}

}  // namespace tagwarden
