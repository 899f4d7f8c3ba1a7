#pragma once

#include <QDialog>
#include <QPointer>
#include <string>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tagwarden {

class ItemMapDialog;
class ItemType;
class MeshItem;
class MeshModel;
class Prompter;

// The item editor of a map: its item types and placed items, listed sorted, with
// Add, Edit and Delete for each. Every change goes straight into the model; the
// file changes only when the map form saves. OK and Cancel only hide the form.
class MeshItemsDialog : public QDialog {
    Q_OBJECT
public:
    MeshItemsDialog(MeshModel& model, Prompter& prompter, QWidget* parent = nullptr);

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
    // "Count", "Offset" and "Length" of one table: the form's own copies, which
    // follow Add and Delete (the offset only changes when the map is written).
    struct Counters {
        QLineEdit* count = nullptr;
        QLineEdit* length = nullptr;
        qint64 countValue = 0;
        qint64 lengthValue = 0;
        qint64 recordSize = 0;
        void change(int records);
    };

    using Action = void (MeshItemsDialog::*)();
    struct Table;
    QWidget* makeGroup(const Table& table, QListWidget* list, Counters& counters);
    QPushButton* makeButton(const char* text, const std::string& name, Action action);
    void editItemType(ItemType& type);
    void editMeshItem(MeshItem& item);
    // Puts the record's current line in place of `line` and selects it.
    static void replaceLine(QListWidget& list, QListWidgetItem* line, const std::string& text, void* record);
    // Redraws the item map, if shown, after the items changed.
    void itemsChanged();
    void selectItemLine(const MeshItem* item);

    MeshModel& model_;
    Prompter& prompter_;
    QListWidget* types_ = nullptr;
    QListWidget* items_ = nullptr;
    Counters typeCounters_;
    Counters itemCounters_;
    QPointer<ItemMapDialog> map_;
};

}  // namespace tagwarden
