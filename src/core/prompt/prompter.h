#pragma once

#include <optional>
#include <string>

namespace tagwarden {

// Every message box and file dialog goes through a Prompter: the desktop program
// answers with real dialogs, tests and scripts answer from a script. Core uses it
// only for questions whose answer it needs; what it merely tells the user it
// returns as notices (core/prompt/notice.h).
class Prompter {
public:
    // SaveDiscardCancel asks before unsaved work would be dropped.
    enum class Buttons { Ok, OkCancel, SaveDiscardCancel };
    enum class Icon { None, Exclamation, Error };
    enum class Answer { Ok, Cancel, Save, Discard };

    struct FileRequest {
        enum class Kind { Open, Save, Folder };  // Folder: an existing folder, no filter
        Kind kind = Kind::Open;
        std::string title;        // empty: the platform's default title
        std::string initialName;  // full path or name the dialog starts with
        // Filter in the classic form "Label|pattern|Label|pattern||",
        // e.g. "Vorn Tag Files (*.gor)|*.gor|All Files (*.*)|*.*||".
        std::string filter;
        bool mustExist = true;    // open dialogs: demand an existing file
    };

    // The caption of every box but one is the application name.
    static constexpr const char* kApplicationName = "Tagwarden";

    virtual ~Prompter() = default;
    virtual Answer message(const std::string& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                           const std::string& caption = kApplicationName) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFile(const FileRequest& request) = 0;
};

}  // namespace tagwarden
