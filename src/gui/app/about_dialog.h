#pragma once

#include <QDialog>

namespace tagwarden {

// "About Tagwarden": the icon, the version line and OK.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kVersion = TAGWARDEN_VERSION;

    explicit AboutDialog(QWidget* parent = nullptr);
};

// The program's icon, from the resources.
[[nodiscard]] QIcon programIcon();

}  // namespace tagwarden
