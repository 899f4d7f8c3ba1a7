#include "core/io/memory_bytes.h"

#include <algorithm>
#include <cstring>

namespace tagwarden {

MemoryBytes::MemoryBytes(std::vector<std::uint8_t> bytes, std::string path)
    : bytes_(std::move(bytes)), path_(std::move(path))
{
}

std::size_t MemoryBytes::readAt(std::uint64_t position, void* buffer, std::size_t size) const
{
    // An empty request may come without a buffer.
    if (size == 0 || position >= bytes_.size())
        return 0;
    const std::size_t count = std::min<std::uint64_t>(size, bytes_.size() - position);
    std::memcpy(buffer, bytes_.data() + position, count);
    return count;
}

void MemoryBytes::writeAt(std::uint64_t position, const void* buffer, std::size_t size)
{
    if (size == 0)
        return;
    if (bytes_.size() < position + size)
        bytes_.resize(position + size, 0);
    std::memcpy(bytes_.data() + position, buffer, size);
}

void MemoryBytes::replace(const Write& write)
{
    MemoryBytes fresh({}, path_);
    write(fresh);
    bytes_ = std::move(fresh.bytes_);
}

}  // namespace tagwarden
