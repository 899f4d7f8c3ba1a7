#include "cli/checked_output.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace tagwarden::cli {

namespace {

// The system's own write and close of a descriptor; a negative answer leaves errno set.
long long writeSome(int descriptor, const char* bytes, std::size_t count)
{
#ifdef _WIN32
    constexpr std::size_t kLargest = 1u << 30;  // _write takes an unsigned int
    return _write(descriptor, bytes, static_cast<unsigned>(count < kLargest ? count : kLargest));
#else
    return ::write(descriptor, bytes, count);
#endif
}

int closeDescriptor(int descriptor)
{
#ifdef _WIN32
    return _close(descriptor);
#else
    return ::close(descriptor);
#endif
}

}  // namespace

void CheckedOutput::put(const char* bytes, std::size_t count)
{
    while (count > 0 && error_ == 0) {
        const long long written = writeSome(descriptor_, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = written < 0 ? errno : EIO;
            return;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
}

void CheckedOutput::drain()
{
    put(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

CheckedOutput::int_type CheckedOutput::overflow(int_type c)
{
    drain();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize CheckedOutput::xsputn(const char* text, std::streamsize count)
{
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), text, size);
        pbump(static_cast<int>(count));
        return count;
    }
    // A piece larger than the room left goes out at once, after what is buffered.
    drain();
    put(text, size);
    return count;
}

int CheckedOutput::sync()
{
    drain();
    return error_ == 0 ? 0 : -1;
}

std::string CheckedOutput::finish()
{
    drain();
    if (closeDescriptor(descriptor_) != 0 && error_ == 0)
        error_ = errno;
    return error_ == 0 ? std::string() : std::strerror(error_);
}

}  // namespace tagwarden::cli
