#pragma once

#include <utility>

#include "core/prompt/notice.h"

namespace tagwarden::test {

// What the program does with a core call's result: shows its notices through
// `prompter`, in order, and goes on with its value.
template <typename T>
T shown(Prompter& prompter, Reported<T> reported)
{
    showNotices(prompter, reported.notices);
    return std::move(reported.value);
}

}  // namespace tagwarden::test
