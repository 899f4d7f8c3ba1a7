#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QFormLayout;
class QLineEdit;

namespace tagwarden {

class MeshItem;
class Prompter;

// The modal form for one placed item: presence, category, ids, position and
// facing. The position and angle beside the stored numbers are worked out when
// the form opens. The record changes only on "OK".
class MeshItemDialog : public QDialog {
    Q_OBJECT
public:
    MeshItemDialog(MeshItem& item, Prompter& prompter, QWidget* parent = nullptr);

    void accept() override;

private:
    QWidget* makeIds();
    QWidget* makePosition();
    QLineEdit* addPositionRow(QFormLayout& form, const char* label, const char* name, std::int32_t value);

    MeshItem& item_;
    Prompter& prompter_;
    QCheckBox* initial_ = nullptr;
    QButtonGroup* category_ = nullptr;
    QLineEdit* id1_ = nullptr;
    QLineEdit* reference_ = nullptr;
    QLineEdit* id2_ = nullptr;
    QLineEdit* id3_ = nullptr;
    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* z_ = nullptr;
    QLineEdit* facing_ = nullptr;
};

}  // namespace tagwarden
