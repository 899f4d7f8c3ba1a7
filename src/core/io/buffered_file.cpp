#include "core/io/buffered_file.h"

#include <algorithm>
#include <cstring>

namespace tagwarden {

// In reading mode the source position lies just behind the read-ahead; in
// writing mode the buffered bytes belong at the source position.

BufferedFile::BufferedFile(const std::string& path, std::size_t bufferSize, File::Share share)
    : opened_(std::make_unique<File>(path, File::Access::ReadWrite, share)), source_(*opened_), buffer_(bufferSize)
{
    refill();
}

BufferedFile::BufferedFile(ByteSource& source, std::size_t bufferSize) : source_(source), buffer_(bufferSize)
{
    refill();
}

BufferedFile::~BufferedFile() { (void)flush(); }

void BufferedFile::refill()
{
    std::memmove(buffer_.data(), buffer_.data() + begin_, unread());
    end_ = unread();
    begin_ = 0;
    const std::size_t wanted = buffer_.size() - end_;
    const std::size_t got = source_.readAt(sourcePosition_, buffer_.data() + end_, wanted);
    sourcePosition_ += got;
    end_ += got;
    endOfFile_ = got < wanted;
}

void BufferedFile::discardReadAhead()
{
    sourcePosition_ -= unread();
    begin_ = end_ = 0;
    endOfFile_ = false;
}

std::size_t BufferedFile::read(void* destination, std::size_t count)
{
    if (mode_ == Mode::Writing) {
        (void)flush();  // a failure is kept in lastError(); the read itself goes on
        mode_ = Mode::Reading;
    }
    auto* out = static_cast<std::uint8_t*>(destination);
    std::size_t delivered = 0;
    if (count > buffer_.size()) {
        delivered = unread();
        if (delivered > 0)
            std::memcpy(out, buffer_.data() + begin_, delivered);
        begin_ = end_ = 0;
        const std::size_t wanted = count - delivered;
        const std::size_t got = source_.readAt(sourcePosition_, out + delivered, wanted);
        sourcePosition_ += got;
        delivered += got;
        endOfFile_ = got < wanted;
    } else {
        if (unread() < count && !endOfFile_)
            refill();
        delivered = std::min(count, unread());
        if (delivered > 0)  // an empty request may come with no destination at all
            std::memcpy(out, buffer_.data() + begin_, delivered);
        begin_ += delivered;
    }
    if (unread() < buffer_.size() / 4 && !endOfFile_)
        refill();
    return delivered;
}

bool BufferedFile::write(const void* source, std::size_t count)
{
    if (count >= buffer_.size()) {
        if (mode_ == Mode::Writing) {
            if (!writeOut())
                return false;
        } else {
            discardReadAhead();
        }
        return writeThrough(source, count);
    }
    if (mode_ == Mode::Reading) {
        discardReadAhead();
        mode_ = Mode::Writing;
    } else if (end_ + count > buffer_.size() && !writeOut()) {
        return false;
    }
    if (count > 0)
        std::memcpy(buffer_.data() + end_, source, count);
    end_ += count;
    if (end_ > buffer_.size() / 5 * 4)
        return writeOut();
    return true;
}

bool BufferedFile::flush()
{
    if (mode_ == Mode::Writing)
        return writeOut();
    discardReadAhead();
    return true;
}

bool BufferedFile::seek(std::uint64_t position)
{
    const bool flushed = flush();
    endOfFile_ = false;
    sourcePosition_ = position;
    return flushed;
}

std::uint64_t BufferedFile::position() const
{
    return mode_ == Mode::Writing ? sourcePosition_ + end_ : sourcePosition_ - unread();
}

bool BufferedFile::writeOut()
{
    const std::size_t count = end_;
    end_ = 0;
    return count == 0 || writeThrough(buffer_.data(), count);
}

bool BufferedFile::writeThrough(const void* source, std::size_t count)
{
    try {
        source_.writeAt(sourcePosition_, source, count);
        sourcePosition_ += count;
        return true;
    } catch (const FileError& error) {
        return fail(error);
    }
}

bool BufferedFile::fail(const FileError& error)
{
    lastError_ = error;
    return false;
}

}  // namespace tagwarden
