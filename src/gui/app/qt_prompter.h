#pragma once

#include <QStringList>

#include "core/prompt/prompter.h"

namespace tagwarden {

// Real message boxes and file dialogs, owned by the active window.
class QtPrompter : public Prompter {
public:
    Answer message(const std::string& text, Buttons buttons, Icon icon, const std::string& caption) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;

    // "Label|pattern|Label|pattern||" as Qt's name filters: "Label (patterns)".
    // A label that already ends in its pattern in brackets keeps it; "*.*" means
    // every file, which is "*" outside Windows.
    [[nodiscard]] static QStringList nameFilters(const std::string& classicFilter);
};

}  // namespace tagwarden
