#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/io/memory_bytes.h"
#include "core/io/buffered_file.h"
#include "mesh_test_fixtures.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

using test::TempDir;

Bytes randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

TEST(BufferedFile, LargeFileReadsTheSameBytesAsAPlainReadWhateverTheReadSizes)
{
    const Bytes content = randomBytes(200'000, 1);
    MemoryBytes map(content);
    for (const std::size_t size : {1u, 7u, 64u, 1000u, 12'799u, 12'800u, 51'199u, 51'200u, 51'201u, 60'000u}) {
        BufferedFile file(map, BufferedFile::kMeshBufferSize);
        Bytes got;
        Bytes chunk(size);
        std::size_t n = 0;
        while ((n = file.read(chunk.data(), size)) > 0)
            got.insert(got.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(got, content) << "reads of " << size;
        EXPECT_EQ(file.position(), content.size());
    }
}

// Every mix of reads, writes, seeks and flushes must behave exactly like a plain
// byte vector with a position, and leave the same bytes in the file.
class PlainFile {
public:
    explicit PlainFile(Bytes bytes) : bytes_(std::move(bytes)) {}
    Bytes read(std::size_t count)
    {
        const std::size_t from = std::min(position_, bytes_.size());
        const std::size_t to = std::min(position_ + count, bytes_.size());
        position_ += to - from;
        return {bytes_.begin() + static_cast<std::ptrdiff_t>(from), bytes_.begin() + static_cast<std::ptrdiff_t>(to)};
    }
    void write(const Bytes& data)
    {
        if (bytes_.size() < position_ + data.size())
            bytes_.resize(position_ + data.size(), 0);
        std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
        position_ += data.size();
    }
    void seek(std::size_t position) { position_ = position; }
    [[nodiscard]] std::size_t position() const { return position_; }
    [[nodiscard]] const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
    std::size_t position_ = 0;
};

void runDifferential(std::size_t bufferSize, std::size_t fileSize, int operations, unsigned seed)
{
    SCOPED_TRACE("buffer " + std::to_string(bufferSize) + ", seed " + std::to_string(seed));
    const Bytes initial = randomBytes(fileSize, seed);
    MemoryBytes map(initial);
    PlainFile expected(initial);
    std::mt19937 random(seed);
    const auto below = [&random](std::size_t bound) { return static_cast<std::size_t>(random() % (bound + 1)); };
    {
        BufferedFile file(map, bufferSize);
        for (int op = 0; op < operations; ++op) {
            // Sizes around the buffer's size and its quarter and four fifths matter most.
            const std::size_t size = random() % 4 == 0 ? below(bufferSize * 2) : below(bufferSize / 3);
            switch (random() % 8) {
            case 0:
            case 1:
            case 2: {
                Bytes got(size);
                got.resize(file.read(got.data(), size));
                ASSERT_EQ(got, expected.read(size)) << "operation " << op;
                break;
            }
            case 3:
            case 4:
            case 5: {
                const Bytes data = randomBytes(size, static_cast<unsigned>(random()));
                ASSERT_TRUE(file.write(data.data(), data.size()));
                expected.write(data);
                break;
            }
            case 6: {
                const std::size_t position = below(expected.bytes().size() + 10);
                ASSERT_TRUE(file.seek(position));
                expected.seek(position);
                break;
            }
            default:
                ASSERT_TRUE(file.flush());
            }
            ASSERT_EQ(file.position(), expected.position()) << "operation " << op;
        }
    }
    EXPECT_EQ(map.bytes(), expected.bytes());
}

TEST(BufferedFile, AnyMixOfReadsWritesAndSeeksMatchesAPlainByteVector)
{
    for (unsigned seed = 1; seed <= 40; ++seed)
        runDifferential(64 + seed % 5, 700, 400, seed);
    for (unsigned seed = 100; seed <= 103; ++seed)
        runDifferential(BufferedFile::kMeshBufferSize, 180'000, 120, seed);
}

TEST(BufferedFile, AWriteOfAWholeBufferReachesTheFileAtOnceBehindTheBufferedBytes)
{
    MemoryBytes map(Bytes(10, 0));
    BufferedFile file(map, 1000);
    const Bytes small = randomBytes(10, 2);
    const Bytes large = randomBytes(1000, 3);
    ASSERT_TRUE(file.write(small.data(), small.size()));
    EXPECT_EQ(map.bytes(), Bytes(10, 0));  // still buffered
    ASSERT_TRUE(file.write(large.data(), large.size()));
    Bytes both = small;
    both.insert(both.end(), large.begin(), large.end());
    EXPECT_EQ(map.bytes(), both);
}

TEST(BufferedFile, BytesBufferedForWritingReachTheFileWhenItIsClosed)
{
    MemoryBytes map(Bytes(4, 0));
    {
        BufferedFile file(map, 1000);
        ASSERT_TRUE(file.write("ab", 2));
    }
    EXPECT_EQ(map.bytes(), (Bytes{'a', 'b', 0, 0}));
}

TEST(BufferedFile, OpensWithoutSharingAndRefusesAMissingFile)
{
    TempDir dir;
    const std::string path = dir.write("map", Bytes(100, 1));
    BufferedFile file(path, 1000);
    try {
        File other(path, File::Access::Read, File::Share::All);
        FAIL() << "a second opener got in";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::SharingViolation);
    }
    try {
        BufferedFile missing(dir.file("missing"), 1000);
        FAIL() << "a missing file opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileErrorCause::NotFound);
    }
}

TEST(BufferedFile, AFailedWriteAnswersFalseAndKeepsItsCause)
{
#ifdef _WIN32
    GTEST_SKIP() << "a file-size limit (setrlimit) is POSIX's";
#else
    TempDir dir;
    const std::string path = dir.write("map", Bytes(100, 1));
    BufferedFile file(path, 64);
    test::FileSizeLimit limit(150);
    const Bytes data(200, 7);
    EXPECT_FALSE(file.write(data.data(), data.size()));
    ASSERT_TRUE(file.lastError().has_value());
    EXPECT_EQ(file.lastError()->path(), path);
#endif
}

}  // namespace
}  // namespace tagwarden
