#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>

namespace tagwarden {

class MeshEditorDialog;
class MeshItemsDialog;
class MeshModel;
class MeshSession;
class Prompter;
class SettingsStore;

// The map editor: asks for a map plug-in under local/mesh/ of the tags directory,
// loads it and shows the map form beside the main window; "View Items" opens the
// item editor. It owns the model (with the file, open and unshared), the undo
// stack both forms share, and both forms; destroying it closes the forms and then
// the file.
class MeshEditor : public QObject {
    Q_OBJECT
public:
    MeshEditor(SettingsStore& settings, Prompter& prompter);
    ~MeshEditor() override;

    // Asks for the file, loads it and shows the map form. False only when the user
    // cancelled the chooser; a file that cannot be opened or holds no map that fits
    // is reported and shows no form.
    bool start();
    // The same with the map plug-in at `path`, no chooser asked.
    bool startWith(const std::string& path);
    // The item editor, brought to the front.
    void showItems();

    // Whether the model holds steps the file does not (the undo stack is not
    // clean), or a field of the map form holds a number it refuses. False
    // without a map.
    [[nodiscard]] bool hasUnsavedChanges() const;
    // Writes as the map form's "OK" does, without asking to confirm and without
    // hiding the form. True when every byte was written.
    [[nodiscard]] bool saveChanges();
    // The map plug-in being edited; empty without one.
    [[nodiscard]] std::string filePath() const;

    [[nodiscard]] MeshModel* model() const { return model_.get(); }
    [[nodiscard]] MeshSession* session() const { return session_.get(); }
    [[nodiscard]] MeshEditorDialog* form() const { return form_.get(); }
    [[nodiscard]] MeshItemsDialog* itemsForm() const { return itemsForm_.get(); }

private:
    [[nodiscard]] std::optional<std::string> chooseFile();
    // The model of the map in `path`, or nothing after telling the user why not.
    [[nodiscard]] std::unique_ptr<MeshModel> loadMap(const std::string& path);

    SettingsStore& settings_;
    Prompter& prompter_;
    std::optional<std::string> chosen_;  // the file the next start opens without asking
    // Declared before the forms, so that the forms go first.
    std::unique_ptr<MeshModel> model_;
    std::unique_ptr<MeshSession> session_;
    std::unique_ptr<MeshEditorDialog> form_;
    std::unique_ptr<MeshItemsDialog> itemsForm_;
};

}  // namespace tagwarden
