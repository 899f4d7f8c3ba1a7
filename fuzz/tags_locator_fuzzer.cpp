// The settings dialog's "Browse" on arbitrary names: the input is the text of the
// tags directory field and, below a small tree of folders made once, the name
// chosen in the file dialog. Whatever the bytes, the dialog's initial name is the
// field's folder and the placeholder, the folder of a chosen name is its own
// beginning without a trailing separator, and tags.gor is found exactly where a
// regular file (or a link to one) has that name.
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/settings/tags_locator.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using namespace tagwarden;
using fuzz::check;

// The places a user may pick: a game folder, an empty one, a folder named
// tags.gor, and links to the archive and to nothing.
const std::string& tree()
{
    static const fuzz::ScratchFolder scratch("tags_locator_fuzzer");
    static const std::string root = [] {
        const fs::path& top = scratch.path();
        fs::create_directories(top / "game" / "local" / "mons");
        std::ofstream(top / "game" / "tags.gor") << "tags";
        fs::create_directories(top / "empty");
        fs::create_directories(top / "odd" / "tags.gor");
        fs::create_directories(top / "link");
        fs::create_symlink("../game/tags.gor", top / "link" / "tags.gor");
        fs::create_directories(top / "dangling");
        fs::create_symlink("../nowhere/tags.gor", top / "dangling" / "tags.gor");
        return top.string();
    }();
    return root;
}

std::string joined(const std::string& folder, std::string_view name)
{
    return folder + (folder.ends_with('/') ? "" : "/") + std::string(name);
}

// Whether a regular file named tags.gor is in `folder`, asked of the system directly.
bool regularTagsGor(const std::string& folder)
{
    struct stat status {};
    return ::stat(joined(folder, "tags.gor").c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void checkInitialName(const std::string& field)
{
    check(tags_locator::initialName(field) == joined(field, tags_locator::kPlaceholderName),
          "the dialog's initial name is not the field's folder and the placeholder");
}

void checkChosen(const std::string& chosen)
{
    const std::string folder = tags_locator::folderOf(chosen);
    check(chosen.starts_with(folder), "the folder of a name is not its beginning");
    check(folder.find_first_not_of('/') == std::string::npos || !folder.ends_with('/'),
          "a folder other than the root ends in a separator");
    if (!folder.ends_with('/'))
        check(tags_locator::folderOf(joined(folder, "tags.gor")) == folder, "tags.gor in a folder lies elsewhere");
    check(tags_locator::holdsTagsGor(folder) == regularTagsGor(folder), "tags.gor found where there is none, or missed");
    check(tags_locator::missingText(folder).find(folder) != std::string::npos, "the question does not name the folder");
    check(tags_locator::backupFolder(folder) == joined(folder, "Backup"), "the backup folder is not beside the tags");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkInitialName(text);
    checkChosen(tree() + "/" + text);
    return 0;
}
