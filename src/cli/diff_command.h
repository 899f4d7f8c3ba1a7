#pragma once

#include "cli/cli_support.h"

namespace tagwarden::cli {

// diff A B, diff P: what changed between two plug-ins, or a plug-in and the tag of
// its archive. Exit 0 when equal, 1 when different, 2 on an error.
void addDiffCommand(CLI::App& app, Command& command);

}  // namespace tagwarden::cli
