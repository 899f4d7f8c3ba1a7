#pragma once

#include <string>

namespace tagwarden {

class ByteSource;
class TagDirectory;

// The progress dialog as the reader drives it; the GUI shows a dialog, the CLI
// may show nothing. Calls come in the order begin, setRange, setStep, setText ...
// stepIt ..., end.
class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;
    virtual void begin() = 0;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setStep(int step) = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void stepIt() = 0;
    virtual void end() = 0;
};

enum class ReadOutcome {
    SingleTag,    // a plug-in: one entry
    Archive,      // every complete header of the directory
    NoDirectory,  // "ERROR - No Directory Found": nothing read
};

inline constexpr const char* kNoDirectoryMessage = "ERROR - No Directory Found";

// Fills `directory` (emptied first) from `source` and maps its types. File errors propagate as
// FileError; the entries read before the error stay in the directory. A file
// shortened while it is read is one (EndOfFile). A directory of more than
// 16,777,216 entries is refused (FileError, too large) before it is read.
ReadOutcome readDirectory(TagDirectory& directory, const ByteSource& source, ProgressObserver* progress);

}  // namespace tagwarden
