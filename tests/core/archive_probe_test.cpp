#include <gtest/gtest.h>

#include <filesystem>

#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "support/archive_probe.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

namespace fs = std::filesystem;
using Problems = std::vector<std::string>;

Problems probeFile(const fs::path& path)
{
    const File file(path.string(), File::Access::Read, File::Share::DenyWrite);
    return test::probeArchive(file);
}

// The probe is the fuzzer's judge: it must pass sound and damaged files alike.
TEST(ArchiveProbe, FindsNothingWrongWithSoundOrDamagedFiles)
{
    test::TempDir dir;
    writeSampleDirectory(dir.file("sample"));
    for (const auto& entry : fs::recursive_directory_iterator(dir.file("sample"))) {
        if (entry.is_regular_file()) {
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ(probeFile(entry.path()), Problems{});
        }
    }

    Bytes archive = buildArchive(syntheticTags(300));
    archive.resize(archive.size() - 30);
    EXPECT_EQ(test::probeArchive(MemoryBytes(archive)), Problems{});
    writeBigEndian32(archive.data() + 40, 0xFFFFFFF0u);
    EXPECT_EQ(test::probeArchive(MemoryBytes(archive)), Problems{});
    EXPECT_EQ(test::probeArchive(MemoryBytes()), Problems{});
}

#ifdef TAGWARDEN_FUZZ_REGRESSIONS
// Every input that once broke the archive fuzzer, read again for good.
TEST(ArchiveProbe, FuzzerRegressionsReadCleanly)
{
    const fs::path folder = fs::path(TAGWARDEN_FUZZ_REGRESSIONS) / "archive_fuzzer";
    if (!fs::exists(folder))
        GTEST_SKIP() << "no saved inputs of the archive fuzzer";
    for (const auto& entry : fs::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(probeFile(entry.path()), Problems{});
    }
}
#endif

}  // namespace
}  // namespace tagwarden
