#include "gui/mesh/mesh_editor.h"

#include <utility>

#include "core/editors/editor_tag_file.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/prompter.h"
#include "gui/compare/compare_dialog.h"
#include "gui/mesh/mesh_editor_dialog.h"
#include "gui/mesh/mesh_items_dialog.h"

namespace tagwarden {

MeshEditor::MeshEditor(SettingsStore& settings, Prompter& prompter) : settings_(settings), prompter_(prompter) {}

MeshEditor::~MeshEditor() = default;

std::optional<std::string> MeshEditor::chooseFile()
{
    if (chosen_)
        return std::exchange(chosen_, std::nullopt);
    Prompter::FileRequest request;
    request.initialName = EditorTagFile(settings_, prompter_).startFolder("mesh");
    request.filter = EditorTagFile::kPlugInFilter;
    request.mustExist = true;
    return prompter_.chooseFile(request);
}

std::unique_ptr<MeshModel> MeshEditor::loadMap(const std::string& path)
{
    try {
        auto model = std::make_unique<MeshModel>(std::make_unique<BufferedFile>(path, BufferedFile::kMeshBufferSize),
                                                 PlugInBackup(settings_));
        if (const auto problem = model->load()) {
            prompter_.message(*problem, Prompter::Buttons::Ok, Prompter::Icon::Error);
            return nullptr;
        }
        return model;
    } catch (const FileError& error) {
        prompter_.message(error.what(), Prompter::Buttons::Ok, Prompter::Icon::Error);
        return nullptr;
    }
}

bool MeshEditor::start()
{
    // A second start replaces everything the first one showed.
    itemsForm_.reset();
    form_.reset();
    model_.reset();
    const auto path = chooseFile();
    if (!path)
        return false;
    model_ = loadMap(*path);
    if (!model_)
        return true;
    form_ = std::make_unique<MeshEditorDialog>(*model_, prompter_);
    addCompareAction(*form_, [this] { return filePath(); });
    connect(form_.get(), &MeshEditorDialog::viewItemsRequested, this, &MeshEditor::showItems);
    connect(form_.get(), &MeshEditorDialog::itemMapRequested, this, [this] {
        // The map picks items in the item editor's list, so that comes too.
        showItems();
        itemsForm_->showItemMap();
    });
    form_->show();
    return true;
}

bool MeshEditor::startWith(const std::string& path)
{
    chosen_ = path;
    return start();
}

void MeshEditor::showItems()
{
    if (!model_ || (itemsForm_ && itemsForm_->isVisible()))
        return;
    itemsForm_ = std::make_unique<MeshItemsDialog>(*model_, prompter_);
    itemsForm_->show();
}

bool MeshEditor::hasUnsavedChanges() const { return form_ && form_->hasUnsavedChanges(); }

bool MeshEditor::saveChanges() { return form_ && form_->save(); }

std::string MeshEditor::filePath() const { return model_ ? model_->file().path() : std::string(); }

}  // namespace tagwarden
