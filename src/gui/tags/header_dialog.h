#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QFormLayout;
class QLineEdit;

namespace tagwarden {

class Prompter;
class TagEntry;

// "Vorn Object Details": every field of one entry's 64-byte header in its own box,
// and the header as hex bytes. A viewer: what is typed is checked on OK and dropped.
class HeaderDialog : public QDialog {
    Q_OBJECT

public:
    explicit HeaderDialog(Prompter& prompter, QWidget* parent = nullptr);

    void fillFromEntry(const TagEntry& entry);

    // The typed number, checked; nothing (after telling the user) when it is not an integer.
    [[nodiscard]] std::optional<int> readNumber();

public slots:
    void accept() override;

private:
    QLineEdit* addBox(const QString& label, const char* objectName, int maxLength, int minimumChars);

    Prompter& prompter_;
    QLineEdit* description_ = nullptr;
    QLineEdit* type_ = nullptr;
    QLineEdit* id_ = nullptr;
    QLineEdit* reserved1_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLineEdit* startAddress_ = nullptr;
    QLineEdit* length_ = nullptr;
    QLineEdit* reserved2_ = nullptr;
    QLineEdit* signature_ = nullptr;
    QLabel* dump_ = nullptr;
    QFormLayout* form_ = nullptr;
};

}  // namespace tagwarden
