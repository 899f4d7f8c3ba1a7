#pragma once

namespace tagwarden {

class BrowserDialog;
class Prompter;
class SettingsStore;

// Runs the main window for the whole run and tidies up when it ends.
class TagwardenApp {
public:
    TagwardenApp(SettingsStore& settings, Prompter& prompter) : settings_(settings), prompter_(prompter) {}

    // Shows the main window until it ends; answers the process's exit code.
    int run();

    // What happens when the main window has ended with `result`: after OK or
    // Cancel the file is closed, the directory cleared and the editors released.
    static void cleanUp(BrowserDialog& window, int result);

private:
    SettingsStore& settings_;
    Prompter& prompter_;
};

}  // namespace tagwarden
