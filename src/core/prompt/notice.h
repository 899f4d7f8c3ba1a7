#pragma once

#include <string>
#include <vector>

#include "core/prompt/prompter.h"

namespace tagwarden {

// Something the user is told and need not answer. Core returns notices, in the
// order they are to be shown, instead of showing them: the desktop program puts
// each in a message box, the command line prints them.
struct Notice {
    std::string text;
    // OkCancel where the box offers both but either answer goes on the same way.
    Prompter::Buttons buttons = Prompter::Buttons::Ok;
    Prompter::Icon icon = Prompter::Icon::None;
};

using Notices = std::vector<Notice>;

// What a core function came to, and what the user is to be told about it.
template <typename T>
struct [[nodiscard]] Reported {
    T value;
    Notices notices;
};

// For front ends: every notice in its own message box, in order.
inline void showNotices(Prompter& prompter, const Notices& notices)
{
    for (const Notice& notice : notices)
        (void)prompter.message(notice.text, notice.buttons, notice.icon);
}

}  // namespace tagwarden
