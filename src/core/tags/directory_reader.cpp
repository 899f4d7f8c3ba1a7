#include "core/tags/directory_reader.h"

#include <algorithm>
#include <vector>

#include "core/io/byte_source.h"
#include "core/tags/tag_directory.h"
#include "core/tags/tag_entry.h"

namespace tagwarden {

namespace {

// Headers are read in blocks rather than one by one: same bytes, far fewer calls.
constexpr std::size_t kHeadersPerBlock = 1024;
constexpr std::uint64_t kMostReserved = std::uint64_t{1} << 22;

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
    }

    void entryRead(std::uint64_t count)
    {
        if (progress_ && count % interval_ == 0) {
            progress_->setText(std::to_string(count) + " Directory Entries Read");
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
};

void readArchiveHeaders(TagDirectory& directory, const ByteSource& source, std::uint64_t offset, ProgressPacer& pacer)
{
    std::vector<std::uint8_t> block(kHeadersPerBlock * kTagHeaderSize);
    std::uint64_t count = 0;
    for (std::uint64_t blockStart = offset;; blockStart += block.size()) {
        const std::size_t got = source.readAt(blockStart, block.data(), block.size());
        const std::size_t headers = got / kTagHeaderSize;
        for (std::size_t h = 0; h < headers; ++h) {
            TagHeaderBytes header;
            std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(h * kTagHeaderSize), kTagHeaderSize,
                        header.begin());
            directory.appendEntry(header, blockStart + h * kTagHeaderSize);
            pacer.entryRead(++count);
        }
        if (got < block.size())
            return;
    }
}

}  // namespace

ReadOutcome readDirectory(TagDirectory& directory, const ByteSource& source, ProgressObserver* progress)
{
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

    // The count comes from the file's real length; the cap only keeps a huge sparse
    // file from claiming all memory before a single header is read.
    directory.reserve(directory.entryCount() + static_cast<std::size_t>(std::min(expected, kMostReserved)));
    ProgressPacer pacer(progress, expected);
    readArchiveHeaders(directory, source, *offset, pacer);
    pacer.finishing();
    directory.mapTypes();
    return ReadOutcome::Archive;
}

}  // namespace tagwarden

