#pragma once

#include <filesystem>
#include <vector>

namespace tagwarden {

// A folder made for as long as a save dialog proposes a file in it (a dialog can
// only open in a folder that exists), and removed again, with every level made
// for it, when it is still empty afterwards: a cancelled dialog leaves nothing.
// When the folder cannot be made the dialog opens where the platform puts it.
class ProposedFolder {
public:
    explicit ProposedFolder(const std::filesystem::path& folder);
    ~ProposedFolder();
    ProposedFolder(const ProposedFolder&) = delete;
    ProposedFolder& operator=(const ProposedFolder&) = delete;

private:
    std::vector<std::filesystem::path> made_;  // the deepest first
};

}  // namespace tagwarden
