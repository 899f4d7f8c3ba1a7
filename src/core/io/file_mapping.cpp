#include "core/io/file_mapping.h"

#include <algorithm>

namespace tagwarden {

namespace {

// No system maps in smaller pages: one read this far apart brings in every page.
constexpr std::size_t kSmallestPage = 4096;

}  // namespace

std::unique_ptr<FileMapping> FileMapping::map(native::Handle handle, std::uint64_t position, std::size_t size)
{
    const std::optional<native::Mapping> mapping = native::map(handle, position, size);
    if (!mapping)
        return nullptr;
    return std::unique_ptr<FileMapping>(new FileMapping(*mapping));
}

FileMapping::~FileMapping() { native::unmap(mapping_); }

void FileMapping::touch(std::size_t begin, std::size_t end) const
{
    end = std::min(end, size());
    if (begin >= end)
        return;
    const volatile std::uint8_t* bytes = data();
    for (std::size_t at = begin; at < end; at += kSmallestPage)
        (void)bytes[at];
    (void)bytes[end - 1];
}

}  // namespace tagwarden
