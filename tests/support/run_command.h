#pragma once

#include <string>
#include <vector>

namespace tagwarden::test {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell) and collects its output and exit code.
[[nodiscard]] CommandResult runCommand(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tagwarden::test
