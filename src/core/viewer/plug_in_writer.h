#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/io/file.h"
#include "core/prompt/notice.h"
#include "core/tags/tag_entry.h"

namespace tagwarden {

class SafeWriter;

inline constexpr const char* kPlugInCreatedMessage = "PlugIn created";
inline constexpr const char* kPlugInNotCreatedMessage = "ERROR PlugIn NOT created";
inline constexpr const char* kPlugInExistsMessage = "ERROR - Plugin Already Exists";
inline constexpr const char* kPlugInNotOpenedMessage = "ERROR - Plugin File Couldn't be created";
inline constexpr const char* kArchiveChangedMessage =
    "ERROR - the archive changed since it was read: this tag's header in the file is no longer the one listed. "
    "Open the file again.";
inline constexpr const char* kPlugInFilter = "Vorn Tag Files (*.gor)|*.gor|Plug-Ins|*|All Files (*.*)|*.*||";

// A tag's type or id as one file name component: trailing zero bytes dropped,
// separators, zero and control bytes replaced by "_", and never "", "." or "..",
// so the name cannot leave the folder it is put in.
[[nodiscard]] std::string plugInFileName(std::string_view field);
// `folder`, the platform's separator, and the field made a file name as above.
[[nodiscard]] std::string plugInPath(const std::string& folder, std::string_view field);

// The folder for plug-ins of `type` beside the open file: an archive named
// "...tags.gor" gives "...local/TYPE" (mytags.gor gives mylocal/TYPE), any other
// file gives its own folder followed by local/TYPE.
[[nodiscard]] std::string proposedPlugInFolder(const std::string& openFilePath, std::string_view type);
// The proposed plug-in file: the folder above, then the entry's id.
[[nodiscard]] std::string proposedPlugInName(const std::string& openFilePath, const TagEntry& entry);

// Writes one entry of the open file out as a plug-in: its 64-byte header, made to
// point at offset 64, then its whole data. What went wrong comes back as notices,
// in the order they are to be shown. A plug-in is either written whole or
// not left behind at all: it is written beside the target and renamed into place,
// onto a name nothing has, or over the empty file that was chosen (or, when asked,
// any regular file), never through a link. It copies the tag that was listed: when
// the header in the file no longer matches the entry (another program changed the
// archive since it was read), nothing is written.
class PlugInWriter {
public:
    enum class Existing { FillEmpty, Replace };

    // `wrap` stands between the writer and the new file (tests fail its writes and syncs).
    PlugInWriter(const ByteSource& source, const TagEntry& entry, std::string sourcePath,
                 Existing existing = Existing::FillEmpty, File::Wrap wrap = {});

    // Asks `asker` for the target (the proposed name first) and writes it; true
    // only when the complete plug-in was written and closed. A cancelled dialog
    // answers false without notices. The caller shows the notices, then "PlugIn
    // created" or "ERROR PlugIn NOT created".
    [[nodiscard]] Reported<bool> writePlugIn(Prompter& asker);
    // The same without asking: writes to `target`.
    [[nodiscard]] Reported<bool> writePlugInTo(const std::string& target);
    // Whether the last write stopped because the archive changed since it was read.
    [[nodiscard]] bool sourceChanged() const { return sourceChanged_; }

private:
    static constexpr std::size_t kCopyPiece = 1024;

    [[nodiscard]] std::optional<std::string> choosePlugInFile(Prompter& asker) const;
    // Why the target may not be written, or nothing when it may.
    [[nodiscard]] std::optional<Notice> claimTarget();
    // False (nothing committed) when the archive changed since it was read.
    [[nodiscard]] bool write(SafeWriter& writer);
    // Whether the header in the file is still the entry's, as listed.
    [[nodiscard]] bool headerAsListed();
    void writeHeader(ByteSource& plugIn);
    void copyData(ByteSource& plugIn);
    void readExactly(std::uint64_t position, std::uint8_t* buffer, std::size_t size);

    const ByteSource& source_;
    const TagEntry entry_;
    std::string sourcePath_;
    Existing existing_;
    File::Wrap wrap_;
    std::string targetPath_;
    // The existing file being replaced, held so that no other writer fills it meanwhile.
    File replaced_;
    bool sourceChanged_ = false;
};

}  // namespace tagwarden
