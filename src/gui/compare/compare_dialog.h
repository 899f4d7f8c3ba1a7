#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;

namespace tagwarden {

// "Compare with Archive": what a plug-in, as saved, changes of the tag of its type
// and id in the archive of its tags directory, one line a difference, as
// `tagwarden-cli diff P` prints them. It stays open beside the window that opened it.
class CompareDialog : public QDialog {
    Q_OBJECT

public:
    explicit CompareDialog(const std::string& plugInPath, QWidget* parent = nullptr);

    // Opens the comparison of `plugInPath` beside `parent`, in place of one it showed before.
    static CompareDialog* showFor(const std::string& plugInPath, QWidget* parent);

    [[nodiscard]] QString summary() const;
    [[nodiscard]] QString differences() const;

private:
    void compare(const std::string& plugInPath);

    QLabel* summary_ = nullptr;
    QPlainTextEdit* differences_ = nullptr;
};

// Puts "Compare with Archive" into the context menu of an editor's `form`: it
// compares the plug-in that `path` names when chosen.
void addCompareAction(QWidget& form, std::function<std::string()> path);

}  // namespace tagwarden
