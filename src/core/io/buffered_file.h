#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/io/file.h"
#include "core/io/file_error.h"

namespace tagwarden {

// A file read and written through one buffer, for the many small records of a
// map. Reading keeps the buffer at least a quarter full ahead; writing collects
// bytes and writes them out once more than four fifths of the buffer is used.
// Transfers of a whole buffer or more go straight to the file.
class BufferedFile {
public:
    static constexpr std::size_t kMeshBufferSize = 51200;

    // Opens an existing file for reading and writing and fills the buffer;
    // throws FileError when it cannot be opened or read.
    BufferedFile(const std::string& path, std::size_t bufferSize, File::Share share = File::Share::None);
    // Reads and writes `source`, which outlives this object, from its start.
    BufferedFile(ByteSource& source, std::size_t bufferSize);
    // Writes out what is still buffered (a failure here can no longer be reported:
    // callers that care flush first) and closes the file.
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    // Delivers up to `count` bytes from the current position (fewer only at the
    // end of the file); throws FileError when the file cannot be read.
    [[nodiscard]] std::size_t read(void* destination, std::size_t count);
    // Takes `count` bytes at the current position. False when writing to the file
    // failed; the cause is kept in lastError().
    [[nodiscard]] bool write(const void* source, std::size_t count);
    // Writes out the bytes buffered for writing, or forgets the read-ahead.
    [[nodiscard]] bool flush();
    // Flushes and moves to `position` (from the start of the file).
    [[nodiscard]] bool seek(std::uint64_t position);

    // Where the next read or write happens.
    [[nodiscard]] std::uint64_t position() const;
    // The length of the file on disk (bytes still buffered for writing not counted).
    [[nodiscard]] std::uint64_t fileLength() const { return source_.length(); }
    [[nodiscard]] const std::string& path() const { return source_.path(); }
    // The file behind the buffer, for what goes beyond reading and writing it.
    [[nodiscard]] ByteSource& source() { return source_; }
    [[nodiscard]] std::size_t bufferSize() const { return buffer_.size(); }
    [[nodiscard]] const std::optional<FileError>& lastError() const { return lastError_; }

private:
    enum class Mode { Reading, Writing };

    [[nodiscard]] std::size_t unread() const { return end_ - begin_; }
    void refill();
    void discardReadAhead();
    [[nodiscard]] bool writeOut();
    [[nodiscard]] bool writeThrough(const void* source, std::size_t count);
    [[nodiscard]] bool fail(const FileError& error);

    std::unique_ptr<ByteSource> opened_;  // the file opened by path, if that is how it came
    ByteSource& source_;
    std::uint64_t sourcePosition_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0;  // next unread byte (reading)
    std::size_t end_ = 0;    // end of the read-ahead, or of the bytes to write
    Mode mode_ = Mode::Reading;
    bool endOfFile_ = false;
    std::optional<FileError> lastError_;
};

}  // namespace tagwarden
