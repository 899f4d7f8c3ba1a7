#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/mesh/mesh_header.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QUndoCommand;

namespace tagwarden {

class ItemMapDialog;
class ItemType;
class MeshItem;
class MeshModel;
class MeshSession;
class Prompter;

// The item editor of a map: its item types and placed items, listed sorted, with
// Add, Edit and Delete for each. Every change goes into the model at once, as a
// step of the editor's undo stack; the file changes only when the map is saved
// (`save`, also Ctrl+S here). OK hides the form; Cancel and the close box put the
// model back to what the file holds, then hide it.
class MeshItemsDialog : public QDialog {
    Q_OBJECT
public:
    MeshItemsDialog(MeshSession& session, Prompter& prompter, std::function<void()> save, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

    void addType();
    void editType();
    void deleteType();
    void addItem();
    void editItem();
    void deleteItem();
    // "Item Map": where the items stand, its selection kept in step with the list.
    void showItemMap();
    [[nodiscard]] ItemMapDialog* itemMap() const;

private:
    using Action = void (MeshItemsDialog::*)();
    struct Table;
    QWidget* makeGroup(const Table& table, QListWidget* list);
    QPushButton* makeButton(const char* text, const std::string& name, Action action);
    // Pushes a step, then selects `record`'s line in `list`.
    void push(QUndoCommand* step, QListWidget& list, const void* record);
    // Shows the model: both lists (keeping what is selected), the counters and the item map.
    void showModel();
    void selectItemLine(const MeshItem* item);

    MeshSession& session_;
    MeshModel& model_;
    Prompter& prompter_;
    QListWidget* types_ = nullptr;
    QListWidget* items_ = nullptr;
    // "Count", "Offset" and "Length" of each table, as the map header holds them.
    std::vector<std::pair<QLineEdit*, MeshNumber>> counters_;
    QPointer<ItemMapDialog> map_;
};

}  // namespace tagwarden
