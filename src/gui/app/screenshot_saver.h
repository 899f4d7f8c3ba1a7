#pragma once

#include <QHash>
#include <QObject>
#include <QString>

namespace tagwarden {

// Saves a PNG of every window or dialog as it is shown, so that the look of the
// whole program can be reviewed without code in the dialogs themselves. Files are
// named after the window's object name (or its title), numbered in showing order.
class ScreenshotSaver : public QObject {
public:
    explicit ScreenshotSaver(QString folder, QObject* parent = nullptr);

    // Installs a saver on the application when TAGWARDEN_SCREENSHOT_DIR names a
    // folder; does nothing otherwise or when one is installed already.
    static void installFromEnvironment();

    // The name the next capture of `window` is saved under (without folder).
    [[nodiscard]] QString fileNameFor(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save(QWidget* window);

    QString folder_;
    int shownCount_ = 0;
};

}  // namespace tagwarden
