// The least any reader of an archive has to do, as the yardstick of the speed
// goals (bench/speed_goals.py): get at the directory, walk it once and file every
// entry's index under its type. Nothing is checked, copied or kept beyond that.
// The directory is either mapped (the least work of all) or read whole into
// memory in one go (the least work for a reader that keeps its own copy).
//
//   archive_bound_measure make PATH [COUNT]   writes a synthetic archive of COUNT entries (1,000,000)
//   archive_bound_measure map PATH            the lower bound, mapping the file
//   archive_bound_measure read PATH           the lower bound, reading the directory
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"

namespace {

std::uint32_t bigEndian32(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

int make(const std::string& path, std::size_t count)
{
    tagwarden::writeBytes(path, tagwarden::buildArchive(tagwarden::syntheticTags(count)));
    std::printf("wrote %zu entries to %s\n", count, path.c_str());
    return 0;
}

// Every entry's index under its type: a handful of types, found by a short walk
// with the last one found tried first.
std::size_t fileByType(const std::uint8_t* directory, std::size_t count)
{
    std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> types;
    std::size_t last = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t type = bigEndian32(directory + 64 * i + 32);
        if (types.empty() || types[last].first != type) {
            last = 0;
            while (last < types.size() && types[last].first != type)
                ++last;
            if (last == types.size())
                types.emplace_back(type, std::vector<std::uint32_t>{});
        }
        types[last].second.push_back(static_cast<std::uint32_t>(i));
    }
    return types.size();
}

struct Directory {
    std::uint32_t offset;
    std::size_t count;
};

std::optional<Directory> directoryOf(int fd, std::size_t size)
{
    std::uint8_t bytes[4];
    if (size < 64 || ::pread(fd, bytes, sizeof bytes, 40) != sizeof bytes)
        return std::nullopt;
    const std::uint32_t offset = bigEndian32(bytes);
    if (offset < 64 || offset > size - 64)
        return std::nullopt;
    return Directory{offset, (size - offset) / 64};
}

int bound(const std::string& path, bool map)
{
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
        return 1;
    const auto size = static_cast<std::size_t>(status.st_size);
    const std::optional<Directory> directory = directoryOf(fd, size);
    if (!directory)
        return 1;
    std::size_t types = 0;
    if (map) {
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped == MAP_FAILED)
            return 1;
        types = fileByType(static_cast<const std::uint8_t*>(mapped) + directory->offset, directory->count);
        ::munmap(mapped, size);
    } else {
        // One read into memory that may come as large pages, which fill fastest.
        constexpr std::size_t kLargePage = std::size_t{2} << 20;
        const std::size_t bytes = directory->count * 64;
        const std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
        auto* buffer = static_cast<std::uint8_t*>(std::aligned_alloc(kLargePage, rounded));
        if (buffer == nullptr)
            return 1;
        (void)::madvise(buffer, rounded, MADV_HUGEPAGE);
        if (::pread(fd, buffer, bytes, directory->offset) != static_cast<ssize_t>(bytes))
            return 1;
        types = fileByType(buffer, directory->count);
        std::free(buffer);
    }
    ::close(fd);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bound (%s): %zu entries, %zu types, %.3f s\n", map ? "map" : "read", directory->count, types, seconds);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string mode = argc >= 3 ? argv[1] : "";
    if (mode == "make")
        return make(argv[2], argc >= 4 ? std::strtoull(argv[3], nullptr, 10) : 1'000'000);
    if ((mode == "map" || mode == "read") && argc == 3)
        return bound(argv[2], mode == "map");
    std::fprintf(stderr, "usage: %s make PATH [COUNT] | map PATH | read PATH\n", argv[0]);
    return 2;
}
