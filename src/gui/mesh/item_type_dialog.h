#pragma once

#include <QDialog>
#include <list>

class QButtonGroup;
class QLineEdit;

namespace tagwarden {

class ItemType;
class MeshItem;
class Prompter;

// The modal form for one item type: its category, trading, code and numbers, with
// the placed items of the type listed below. The record changes only on "OK".
class ItemTypeDialog : public QDialog {
    Q_OBJECT
public:
    ItemTypeDialog(ItemType& type, const std::list<MeshItem>& items, Prompter& prompter, QWidget* parent = nullptr);

    void accept() override;

private:
    QWidget* makeNumbers();
    QWidget* makeItemList(const std::list<MeshItem>& items);

    ItemType& type_;
    Prompter& prompter_;
    QButtonGroup* category_ = nullptr;
    QButtonGroup* trading_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* team_ = nullptr;
    QLineEdit* presentCount_ = nullptr;
    QLineEdit* maxCount_ = nullptr;
    QLineEdit* reference_ = nullptr;
};

}  // namespace tagwarden
