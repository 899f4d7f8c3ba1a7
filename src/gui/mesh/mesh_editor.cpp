#include "gui/mesh/mesh_editor.h"

#include <utility>

#include "core/editors/editor_tag_file.h"
#include "core/mesh/mesh_model.h"
#include "core/prompt/prompter.h"
#include "gui/compare/compare_dialog.h"
#include "gui/mesh/mesh_editor_dialog.h"
#include "gui/mesh/mesh_items_dialog.h"
#include "gui/mesh/mesh_session.h"

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
    session_.reset();
    model_.reset();
    const auto path = chooseFile();
    if (!path)
        return false;
    model_ = loadMap(*path);
    if (!model_)
        return true;
    session_ = std::make_unique<MeshSession>(*model_);
    form_ = std::make_unique<MeshEditorDialog>(*session_, prompter_);
    addCompareAction(*form_, [this] { return filePath(); });
    connect(form_.get(), &MeshEditorDialog::viewItemsRequested, this, &MeshEditor::showItems);
    // Cancel closes the editor: its item editor goes with the map form.
    connect(form_.get(), &QDialog::rejected, this, [this] {
        if (itemsForm_)
            itemsForm_->hide();
    });
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
    if (!session_)
        return;
    if (!itemsForm_)
        itemsForm_ = std::make_unique<MeshItemsDialog>(*session_, prompter_, [this] { (void)saveChanges(); });
    itemsForm_->show();
    itemsForm_->raise();
    itemsForm_->activateWindow();
}

bool MeshEditor::hasUnsavedChanges() const
{
    return form_ && (!session_->stack().isClean() || form_->holdsRefusedNumber());
}

bool MeshEditor::saveChanges() { return form_ && form_->save(); }

std::string MeshEditor::filePath() const { return model_ ? model_->file().path() : std::string(); }

}  // namespace tagwarden
