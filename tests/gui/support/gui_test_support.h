#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "core/settings/settings_store.h"

class QDialog;

namespace tagwarden::test {

// Runs `action` on the modal dialog with this object name once it is shown (from
// inside its exec()), or on the modeless top-level dialog of that name (the main
// window). If none shows within a few seconds the dialog that blocks is rejected
// and `modalTimedOut()` turns true, so a broken test fails instead of hanging.
void whenModalShows(const char* objectName, std::function<void(QDialog&)> action);
[[nodiscard]] bool modalTimedOut();

// A settings store whose directories are set, so that no first start happens.
[[nodiscard]] std::unique_ptr<MemorySettingsStore> initialisedSettings(const std::string& tagsDirectory);

// The object names of the visible buttons and input fields inside `window` that
// have no accessible name, which screen readers and end-to-end tests rely on.
[[nodiscard]] QStringList unnamedControls(QWidget& window);

// The child of `parent` with this object name, or nullptr.
template <typename Widget>
Widget* child(QWidget& parent, const char* objectName)
{
    return parent.findChild<Widget*>(QLatin1String(objectName));
}

}  // namespace tagwarden::test
