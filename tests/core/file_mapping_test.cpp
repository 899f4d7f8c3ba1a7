#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <functional>

#include "core/io/file.h"
#include "core/io/file_mapping.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "support/recording_observer.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

// More headers than one read takes, so that a cut can come between reads.
constexpr std::size_t kEntries = 10000;

// Calls `act` once, at the first step of the progress.
class SteppingProgress : public ProgressObserver {
public:
    explicit SteppingProgress(std::function<void()> act) : act_(std::move(act)) {}
    void begin() override {}
    void setRange(int, int) override {}
    void setStep(int) override {}
    void setText(const std::string&) override {}
    void stepIt() override { std::exchange(act_, [] {})(); }
    void end() override {}

private:
    std::function<void()> act_;
};

// Calls `act` once, when the first entry is listed.
class ListingObserver : public test::RecordingObserver {
public:
    explicit ListingObserver(std::function<void()> act) : act_(std::move(act)) {}
    void addListLine(std::size_t index) override
    {
        std::exchange(act_, [] {})();
        RecordingObserver::addListLine(index);
    }

private:
    std::function<void()> act_;
};

class ShortenedArchive : public ::testing::Test {
protected:
#ifdef _WIN32
    void SetUp() override { GTEST_SKIP() << "Windows refuses to shorten a file held with writers denied"; }
    void cut(const std::string& /*path*/, std::size_t /*headers*/) const {}
#else
    // Shortens the file as another program would, to its first `headers` headers.
    void cut(const std::string& path, std::size_t headers) const
    {
        ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(directoryStart_ + headers * kTagHeaderSize)), 0);
    }
#endif

    test::TempDir dir_;
    const std::vector<SampleTag> tags_ = syntheticTags(kEntries);
    const Bytes archive_ = buildArchive(tags_);
    const std::uint64_t directoryStart_ = archive_.size() - kEntries * kTagHeaderSize;
    const std::string path_ = dir_.write("tags.gor", archive_);
    File file_{path_, File::Access::Read, File::Share::DenyWrite};
    TagDirectory directory_;
};

TEST_F(ShortenedArchive, CutWhileReadingIsAReadErrorAndKeepsTheEntriesBeforeIt)
{
    struct Case {
        const char* when;
        std::size_t cutTo;
        std::size_t kept;  // listed before the cut was seen; those past `cutTo` read zeros
        bool cutInsideList;
    };
    for (const Case& c : {Case{"between reads", 6000, 6000, false}, Case{"while listing", 100, 4096, true}}) {
        SCOPED_TRACE(c.when);
        test::TempDir dir;  // a file of its own for each case
        const std::string path = dir.write("tags.gor", archive_);
        File file(path, File::Access::Read, File::Share::DenyWrite);
        const std::function<void()> cutNow = [&] { cut(path, c.cutTo); };
        const std::function<void()> nothing = [] {};
        ListingObserver owner(c.cutInsideList ? cutNow : nothing);
        SteppingProgress progress(c.cutInsideList ? nothing : cutNow);
        TagDirectory directory;
        directory.setObserver(&owner);
        try {
            (void)readDirectory(directory, file, &progress);
            FAIL() << "no error for a file shortened while read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.cause(), FileErrorCause::EndOfFile) << e.what();
        }
        ASSERT_EQ(directory.entryCount(), c.kept);
        EXPECT_EQ(owner.indexes.size(), c.kept);
        for (std::size_t i = 0; i < c.kept; ++i)
            ASSERT_EQ(directory.entryAt(i).name(), i < c.cutTo ? tags_[i].name : "") << "entry " << i;
    }
}

TEST_F(ShortenedArchive, EntriesOfAFileCutLaterReadZeros)
{
    ASSERT_EQ(readDirectory(directory_, file_, nullptr), ReadOutcome::Archive);
    ASSERT_EQ(directory_.entryCount(), kEntries);
    const std::string map = directory_.dumpMapText(0);
    cut(path_, 0);
    for (std::size_t i = 0; i < kEntries; ++i) {
        ASSERT_EQ(directory_.entryAt(i).name(), "") << "entry " << i;
        ASSERT_EQ(directory_.headerAt(i), TagHeaderBytes{});
    }
    EXPECT_EQ(directory_.dumpMapText(0), map) << "the type map was made before the cut";
}

TEST(FileMapping, BusErrorsOutsideTheMappingsEndTheProcessAsBefore)
{
#ifdef _WIN32
    GTEST_SKIP() << "bus errors and mmap are POSIX's";
#else
    test::TempDir dir;
    const std::string held = dir.write("held", Bytes(8192, 1));
    const std::string other = dir.write("other", Bytes(8192, 2));
    const auto touchCutMapping = [&] {
        File file(held, File::Access::Read, File::Share::None);
        const auto guarded = file.map(0, 8192);
        if (!guarded)
            std::_Exit(0);  // no guarded mapping to tell apart from: not dying fails the test
        const int fd = ::open(other.c_str(), O_RDONLY);
        auto* bytes = static_cast<volatile std::uint8_t*>(::mmap(nullptr, 8192, PROT_READ, MAP_PRIVATE, fd, 0));
        (void)::truncate(other.c_str(), 0);
        std::_Exit(bytes[4096]);
    };
    EXPECT_DEATH(touchCutMapping(), "");
#endif
}

}  // namespace
}  // namespace tagwarden
