#include "core/io/byte_source.h"

#include <vector>

#include "core/io/file_error.h"

namespace tagwarden {

void copyBytes(const ByteSource& from, ByteSource& to, std::uint64_t begin, std::uint64_t end)
{
    std::vector<std::uint8_t> chunk(1 << 16);
    for (std::uint64_t at = begin; at < end;) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
        const std::size_t got = from.readAt(at, chunk.data(), wanted);
        if (got == 0)
            throw FileError(FileErrorCause::EndOfFile, from.path());
        to.writeAt(at, chunk.data(), got);
        at += got;
    }
}

}  // namespace tagwarden
