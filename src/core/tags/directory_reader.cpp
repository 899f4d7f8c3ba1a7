#include "core/tags/directory_reader.h"

#include <algorithm>
#include <string>

#include "core/io/byte_source.h"
#include "core/io/file_error.h"
#include "core/tags/tag_directory.h"
#include "core/tags/tag_entry.h"

namespace tagwarden {

namespace {

// Headers are read straight into the directory in blocks rather than one by one:
// same bytes, far fewer calls.
constexpr std::size_t kHeadersPerBlock = 4096;
constexpr std::uint64_t kMostReserved = std::uint64_t{1} << 22;
// The most entries a directory may list: 16,777,216 headers are 1 GiB in memory,
// and the list, its index and the type map need about as much again. A directory
// past that (a huge or sparse file, not a real archive) is refused before any of
// it is read rather than failing for memory halfway.
constexpr std::uint64_t kMostEntries = std::uint64_t{1} << 24;
// Why a directory read short is refused: another program shortened the file meanwhile.
constexpr const char* kShortened = "shortened while it was read";

// Drives the progress observer: about a hundred updates per reading.
class ProgressPacer {
public:
    ProgressPacer(ProgressObserver* progress, std::uint64_t expected) : progress_(progress)
    {
        if (!progress_)
            return;
        progress_->begin();
        progress_->setRange(0, 99);
        progress_->setStep(1);
        progress_->setText("Initializing Object List");
        if (expected > 100) {
            interval_ = expected / 100 + 1;
        } else {
            interval_ = 2;
            progress_->setRange(0, static_cast<int>(expected));
        }
        next_ = interval_;
    }

    // `count` entries were read so far: one update for every multiple of the interval.
    void entriesRead(std::uint64_t count)
    {
        for (; progress_ && next_ <= count; next_ += interval_) {
            progress_->setText(std::to_string(next_) + " Directory Entries Read");
            progress_->stepIt();
        }
    }

    void finishing()
    {
        if (progress_)
            progress_->setText("Mapping List....");
    }

    ~ProgressPacer()
    {
        if (progress_)
            progress_->end();
    }

    ProgressPacer(const ProgressPacer&) = delete;
    ProgressPacer& operator=(const ProgressPacer&) = delete;

private:
    ProgressObserver* progress_;
    std::uint64_t interval_ = 2;
    std::uint64_t next_ = 2;
};

// Reads one block; when the read fails partway, reads it again header by header,
// so that every header before the failing one is kept before the error goes on.
std::size_t readBlock(TagDirectory& directory, const ByteSource& source, std::uint64_t position, std::size_t count)
{
    try {
        return directory.readEntries(source, position, count);
    } catch (const FileError&) {
        if (count == 1)
            throw;
    }
    std::size_t whole = 0;
    while (whole < count && directory.readEntries(source, position + whole * kTagHeaderSize, 1) == 1)
        ++whole;
    return whole;
}

// Reads until a header is cut short or the file ends; asks for no more headers
// than the file's length promises (it is taken again as the reading goes on), so
// the directory never makes room for headers that are not there.
void readArchiveHeaders(TagDirectory& directory, const ByteSource& source, std::uint64_t offset, ProgressPacer& pacer)
{
    for (;;) {
        const std::uint64_t length = source.length();
        const std::uint64_t promised = length > offset ? (length - offset) / kTagHeaderSize : 0;
        const std::uint64_t read = directory.entryCount();
        if (read >= promised)
            return;
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kHeadersPerBlock, promised - read));
        const std::size_t whole = readBlock(directory, source, offset + read * kTagHeaderSize, wanted);
        pacer.entriesRead(directory.entryCount());
        if (whole < wanted)
            return;
    }
}

}  // namespace

ReadOutcome readDirectory(TagDirectory& directory, const ByteSource& source, ProgressObserver* progress)
{
    directory.clearAll();  // a directory holds the entries of one file
    if (isSingleTagFile(source)) {
        directory.appendEntry(source, 0);
        directory.mapTypes();
        return ReadOutcome::SingleTag;
    }

    const std::optional<std::uint32_t> offset = directoryOffset(source);
    const std::uint64_t length = source.length();
    if (!offset || length < kTagHeaderSize || *offset < kTagHeaderSize || *offset > length - kTagHeaderSize)
        return ReadOutcome::NoDirectory;

    directory.setDirectoryOffset(*offset);
    const std::uint64_t expected = (length - *offset) / kTagHeaderSize;
    if (expected > kMostEntries)
        throw FileError(FileErrorCause::TooLarge, source.path(),
                        "its directory lists " + std::to_string(expected) + " entries; at most " +
                            std::to_string(kMostEntries) + " are read");

    // The count comes from the file's real length; the cap only keeps a huge
    // sparse file from claiming all memory before a single header is read.
    directory.reserve(static_cast<std::size_t>(std::min(expected, kMostReserved)));
    ProgressPacer pacer(progress, expected);
    readArchiveHeaders(directory, source, *offset, pacer);
    // Fewer headers than the length promised at the start: the file was cut meanwhile.
    if (directory.entryCount() < expected)
        throw FileError(FileErrorCause::EndOfFile, source.path(), kShortened);
    pacer.finishing();
    directory.mapTypes();
    return ReadOutcome::Archive;
}

}  // namespace tagwarden

