#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <fstream>
#include <functional>

#include "core/io/file.h"
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

    const std::vector<SampleTag> tags_ = syntheticTags(kEntries);
    const Bytes archive_ = buildArchive(tags_);
    const std::uint64_t directoryStart_ = archive_.size() - kEntries * kTagHeaderSize;
};

TEST_F(ShortenedArchive, CutWhileReadingIsAReadErrorAndKeepsTheEntriesBeforeIt)
{
    struct Case {
        const char* when;
        std::size_t cutTo;
        std::size_t kept;  // read before the cut was seen, each as it was in the file
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
            ASSERT_EQ(directory.entryAt(i).name(), tags_[i].name) << "entry " << i;
    }
}

// What was read and listed stays what the list, the header dialog, the type map
// and the extraction see, whatever another program does to the file afterwards.
TEST_F(ShortenedArchive, EntriesAreWhatWasReadWhateverHappensToTheFileLater)
{
    std::vector<SampleTag> others = syntheticTags(kEntries);
    for (SampleTag& tag : others)
        tag.name = "other " + tag.name;
    const Bytes other = buildArchive(others);
    struct Case {
        const char* change;
        std::function<void(const std::string& path)> apply;
    };
    const Case cases[] = {
        {"cut to nothing", [&](const std::string& path) { cut(path, 0); }},
        {"cut to half", [&](const std::string& path) { cut(path, kEntries / 2); }},
        {"another archive written over it in place",
         [&](const std::string& path) {
             std::ofstream(path, std::ios::binary | std::ios::in)
                 .write(reinterpret_cast<const char*>(other.data()), static_cast<std::streamsize>(other.size()));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        test::TempDir dir;
        const std::string path = dir.write("tags.gor", archive_);
        File file(path, File::Access::Read, File::Share::DenyWrite);
        TagDirectory directory;
        ASSERT_EQ(readDirectory(directory, file, nullptr), ReadOutcome::Archive);
        ASSERT_EQ(directory.entryCount(), kEntries);
        std::vector<TagHeaderBytes> before;
        for (std::size_t i = 0; i < kEntries; ++i)
            before.push_back(directory.headerAt(i));
        const std::string map = directory.dumpMapText(0);
        c.apply(path);
        for (std::size_t i = 0; i < kEntries; ++i) {
            ASSERT_EQ(directory.headerAt(i), before[i]) << "entry " << i;
            ASSERT_EQ(directory.entryAt(i).name(), tags_[i].name) << "entry " << i;
        }
        EXPECT_EQ(directory.dumpMapText(0), map);
    }
}

}  // namespace
}  // namespace tagwarden
