#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/editors/plug_in_backup.h"
#include "core/editors/plug_in_save_check.h"
#include "core/io/byte_source.h"
#include "core/prompt/notice.h"
#include "core/tags/tag_header.h"

namespace tagwarden {

class SettingsStore;

// The plug-in file that the unit and string-list editors edit: one tag header at
// offset 0 and the tag's data from offset 64. A save replaces the file whole
// (ByteSource::replace), after a backup of it as it was opened.
class EditorTagFile {
public:
    static constexpr const char* kLengthMismatchMessage = "ERROR - Length is not same as Header data";
    static constexpr const char* kPlugInFilter = "Vorn PlugIns |*||";

    // What opening an editor's plug-in came to.
    enum class OpenOutcome {
        Cancelled,  // the user cancelled the file chooser
        Refused,    // a file was chosen but cannot be edited; a notice says why
        Opened,     // the file is open and its header read and of the right type
    };

    // How a chosen plug-in is opened. On disk (the default) it is opened for reading
    // and writing, never truncated, and others may not write it meanwhile.
    using Opener = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;
    [[nodiscard]] static std::unique_ptr<ByteSource> openOnDisk(const std::string& path);

    EditorTagFile(SettingsStore& settings, Prompter& prompter, Opener opener = openOnDisk);
    virtual ~EditorTagFile();
    EditorTagFile(const EditorTagFile&) = delete;
    EditorTagFile& operator=(const EditorTagFile&) = delete;

    // The folder the chooser starts in: the tags directory, "local/", the type.
    [[nodiscard]] std::string startFolder(const std::string& folder) const;
    // Asks for a plug-in under local/`folder`/ and opens it; false when cancelled.
    // A file that cannot be opened throws FileError (any earlier file is closed).
    [[nodiscard]] bool chooseAndOpen(const std::string& folder);
    // Makes the next chooseAndOpen open `path` without asking: the plug-in of a tag
    // the person picked in the main window.
    void chooseNext(std::string path) { chosen_ = std::move(path); }
    // Reads the header into its copy and the fields; false when no file is open
    // or the file holds less than a whole header.
    [[nodiscard]] bool readHeader();
    // Puts `name`, `id` and `dataLength` into the header copy, zero-filled.
    void storeHeaderFields();
    // The header copy as storeHeaderFields would leave it with these fields.
    [[nodiscard]] TagHeaderBytes headerWith(const std::string& name, const std::string& id,
                                            std::uint32_t dataLength) const;
    // Writes the header copy at offset 0 and `data` from offset 64; bytes of the
    // file behind them stay. A file that another program changed since it was read,
    // or one with other names, is only written when the prompter says so
    // (PlugInSaveCheck). The first save backs the file up first (PlugInBackup:
    // its notice comes first, its question is asked through the prompter). Refuses
    // data of another length than the header's, and reports file errors; false
    // then, with the file as it was.
    [[nodiscard]] Reported<bool> writeTag(std::span<const std::uint8_t> data);
    // Whether writing `header` and `data` would put other bytes at the start of
    // the file than it held when it was last read or written.
    [[nodiscard]] bool writeChanges(const TagHeaderBytes& header, std::span<const std::uint8_t> data) const;

    // chooseAndOpen, readHeader and the type check in one, for an editor's start:
    // every refusal comes with a notice of why and leaves the file closed.
    [[nodiscard]] Reported<OpenOutcome> openPlugIn(const std::string& type);
    // The `size` bytes of data from offset 64, or nothing (with a notice, file
    // closed) when the file is too short to hold them.
    [[nodiscard]] Reported<std::optional<std::vector<std::uint8_t>>> readData(std::uint32_t size);

    struct Started {
        OpenOutcome outcome;
        std::optional<std::vector<std::uint8_t>> data;  // present only when there is a form to show
    };
    // An editor's whole start: openPlugIn, then `size` bytes of data (the header's
    // length of data when no size is given).
    [[nodiscard]] Reported<Started> openAndRead(const std::string& type,
                                                std::optional<std::uint32_t> size = std::nullopt);

    [[nodiscard]] bool fileOpen() const { return file_ != nullptr; }
    // The plug-in being edited; empty while none is open.
    [[nodiscard]] std::string filePath() const { return fileOpen() ? file_->path() : std::string(); }
    [[nodiscard]] const TagHeaderBytes& header() const { return header_; }
    // Header fields as raw bytes: name 32, type 4, id 4 (zero bytes included).
    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] const std::string& type() const { return type_; }
    [[nodiscard]] const std::string& id() const { return id_; }
    [[nodiscard]] std::uint32_t dataLength() const { return dataLength_; }
    void setName(std::string name) { name_ = std::move(name); }
    void setId(std::string id) { id_ = std::move(id); }
    void setDataLength(std::uint32_t length) { dataLength_ = length; }

protected:
    [[nodiscard]] Prompter& prompter() const { return prompter_; }

private:
    // Closes the file; answers the notice of why it is not edited.
    [[nodiscard]] Notice refuse(const std::string& text);
    [[nodiscard]] std::string tooShortMessage(std::uint64_t length, std::uint64_t needed, const std::string& what) const;

    SettingsStore& settings_;
    Prompter& prompter_;
    Opener opener_;
    PlugInBackup backup_{settings_};
    std::optional<std::string> chosen_;
    PlugInSaveCheck saveCheck_;
    std::unique_ptr<ByteSource> file_;
    TagHeaderBytes header_{};
    std::string name_;
    std::string type_;
    std::string id_;
    std::uint32_t dataLength_ = 0;
    // The header and data as last read or written.
    std::vector<std::uint8_t> onDisk_;
};

}  // namespace tagwarden
