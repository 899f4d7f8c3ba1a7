#pragma once

#include <optional>
#include <string>

namespace tagwarden {

class BrowserDialog;
class Prompter;
class SettingsStore;

// Runs the main window for the whole run and tidies up when it ends.
class TagwardenApp {
public:
    TagwardenApp(SettingsStore& settings, Prompter& prompter) : settings_(settings), prompter_(prompter) {}

    // A file to open once the main window is up (after a first start's settings).
    void openAtStart(std::string path) { fileAtStart_ = std::move(path); }
    // Shows the main window until it ends; answers the process's exit code.
    int run();

    // What happens when the main window has ended with `result`: after OK or
    // Cancel the file is closed, the directory cleared and the editors released.
    static void cleanUp(BrowserDialog& window, int result);

private:
    SettingsStore& settings_;
    Prompter& prompter_;
    std::optional<std::string> fileAtStart_;
};

}  // namespace tagwarden
