#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/io/byte_order.h"
#include "core/io/file_error.h"
#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/sample/sample_tags.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "support/recording_observer.h"

namespace tagwarden {
namespace {

// The progress dialog as a log of the calls it received.
class RecordingProgress : public ProgressObserver {
public:
    void begin() override { log.push_back("begin"); }
    void setRange(int minimum, int maximum) override
    {
        log.push_back("range " + std::to_string(minimum) + ".." + std::to_string(maximum));
    }
    void setStep(int step) override { log.push_back("step " + std::to_string(step)); }
    void setText(const std::string& text) override { log.push_back("text " + text); }
    void stepIt() override { log.push_back("stepIt"); }
    void end() override { log.push_back("end"); }

    std::vector<std::string> log;
};

struct Reading {
    ReadOutcome outcome;
    std::vector<std::string> progress;
    std::size_t entries;
    TagDirectory directory;
};

std::unique_ptr<Reading> read(const Bytes& content)
{
    const MemoryBytes file(content);
    auto reading = std::make_unique<Reading>();
    RecordingProgress progress;
    reading->outcome = readDirectory(reading->directory, file, &progress);
    reading->progress = progress.log;
    reading->entries = reading->directory.entryCount();
    return reading;
}

Bytes archiveOf(std::size_t count) { return buildArchive(syntheticTags(count)); }

void setOffset(Bytes& archive, std::uint64_t offset)
{
    writeBigEndian32(archive.data() + 40, static_cast<std::uint32_t>(offset));
}

// The calls the reader must make for `count` headers where `expected` were promised.
std::vector<std::string> progressFor(std::size_t count, std::size_t expected)
{
    std::vector<std::string> log{"begin", "range 0..99", "step 1", "text Initializing Object List"};
    std::size_t every = 2;
    if (expected > 100)
        every = expected / 100 + 1;
    else
        log.push_back("range 0.." + std::to_string(expected));
    for (std::size_t i = every; i <= count; i += every) {
        log.push_back("text " + std::to_string(i) + " Directory Entries Read");
        log.push_back("stepIt");
    }
    log.push_back("text Mapping List....");
    log.push_back("end");
    return log;
}

TEST(DirectoryReader, SingleTagFileGivesOneEntryWithoutProgress)
{
    const auto reading = read(buildPlugIn({"Lone", "mons", "abcd", 0, Bytes(512, 7)}));
    EXPECT_EQ(reading->outcome, ReadOutcome::SingleTag);
    ASSERT_EQ(reading->entries, 1u);
    EXPECT_EQ(reading->directory.entryAt(0).name(), "Lone");
    EXPECT_EQ(reading->directory.entryAt(0).headerPosition(), 0u);
    EXPECT_TRUE(reading->progress.empty());
    ASSERT_EQ(reading->directory.typeGroups().size(), 1u);
    EXPECT_EQ(reading->directory.typeGroups()[0].members[0].index, 0);
    EXPECT_EQ(reading->directory.directoryOffset(), 0u) << "a plug-in has no directory offset";
}

TEST(DirectoryReader, SignatureWinsOverAValidDirectoryOffset)
{
    Bytes archive = archiveOf(5);
    std::copy_n("vorn", 4, archive.begin() + 60);
    const auto reading = read(archive);
    EXPECT_EQ(reading->outcome, ReadOutcome::SingleTag);
    EXPECT_EQ(reading->entries, 1u);
}

TEST(DirectoryReader, OffsetsOutsideTheFileFindNoDirectory)
{
    const Bytes archive = archiveOf(3);
    const std::uint64_t length = archive.size();
    for (std::uint64_t offset : {std::uint64_t{0}, std::uint64_t{63}, length - 63, length, length + 1,
                                 std::uint64_t{0xFFFFFFFF}}) {
        SCOPED_TRACE("offset " + std::to_string(offset));
        Bytes broken = archive;
        setOffset(broken, offset);
        const auto reading = read(broken);
        EXPECT_EQ(reading->outcome, ReadOutcome::NoDirectory);
        EXPECT_EQ(reading->entries, 0u);
        EXPECT_TRUE(reading->progress.empty());
        EXPECT_TRUE(reading->directory.typeGroups().empty());
    }
}

TEST(DirectoryReader, FilesTooShortForADirectoryFindNone)
{
    const Bytes archive = archiveOf(3);
    for (std::size_t size : {0, 1, 43, 44, 63, 64}) {
        SCOPED_TRACE("size " + std::to_string(size));
        Bytes cut(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(size));
        if (size >= 44)
            setOffset(cut, 64);  // an offset that a longer file could use
        EXPECT_EQ(read(cut)->outcome, ReadOutcome::NoDirectory);
    }
}

TEST(DirectoryReader, LastPossibleOffsetGivesOneEntry)
{
    Bytes archive = archiveOf(4);
    setOffset(archive, archive.size() - 64);
    const auto reading = read(archive);
    EXPECT_EQ(reading->outcome, ReadOutcome::Archive);
    ASSERT_EQ(reading->entries, 1u);
    EXPECT_EQ(reading->directory.entryAt(0).headerPosition(), archive.size() - 64);
    EXPECT_EQ(reading->directory.directoryOffset(), archive.size() - 64);
}

TEST(DirectoryReader, OnlyCompleteHeadersBecomeEntries)
{
    const std::vector<SampleTag> tags = syntheticTags(6);
    Bytes archive = buildArchive(tags);
    archive.resize(archive.size() - 20);  // the last header loses its signature and more
    const auto reading = read(archive);
    ASSERT_EQ(reading->entries, 5u);
    EXPECT_EQ(reading->directory.entryAt(4).name(), tags[4].name);
    EXPECT_EQ(reading->progress, progressFor(5, 5));
}

TEST(DirectoryReader, FiftyEntriesStepEverySecondEntryOverTheirOwnRange)
{
    const auto reading = read(archiveOf(50));
    ASSERT_EQ(reading->entries, 50u);
    const std::vector<std::string>& log = reading->progress;
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[4], "range 0..50");
    EXPECT_EQ(log[5], "text 2 Directory Entries Read");
    EXPECT_EQ(std::count(log.begin(), log.end(), "stepIt"), 25);
    EXPECT_EQ(log[log.size() - 4], "text 50 Directory Entries Read");
    EXPECT_EQ(log, progressFor(50, 50));
}

TEST(DirectoryReader, ThousandEntriesKeepTheRangeAndStepEveryEleventh)
{
    const auto reading = read(archiveOf(1000));
    ASSERT_EQ(reading->entries, 1000u);
    const std::vector<std::string>& log = reading->progress;
    EXPECT_EQ(std::count(log.begin(), log.end(), "range 0..99"), 1);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& s) { return s.rfind("range", 0) == 0; }),
              1);
    EXPECT_EQ(log[4], "text 11 Directory Entries Read");
    EXPECT_EQ(log[6], "text 22 Directory Entries Read");
    EXPECT_EQ(std::count(log.begin(), log.end(), "stepIt"), 90);
    EXPECT_EQ(log, progressFor(1000, 1000));
}

TEST(DirectoryReader, IntervalChangesBetweenOneHundredAndOneHundredAndOne)
{
    EXPECT_EQ(read(archiveOf(100))->progress, progressFor(100, 100));  // range 0..100, every 2nd
    EXPECT_EQ(read(archiveOf(101))->progress, progressFor(101, 101));  // range 0..99, still every 2nd
    EXPECT_EQ(read(archiveOf(199))->progress, progressFor(199, 199));
    EXPECT_EQ(read(archiveOf(200))->progress, progressFor(200, 200));  // every 3rd
    EXPECT_EQ(read(archiveOf(1))->progress, progressFor(1, 1));  // range 0..1, no step at all
}

TEST(DirectoryReader, ReadsLongDirectoriesWholeInFileOrder)
{
    const std::size_t count = 2500;  // more headers than one read fetches
    const std::vector<SampleTag> tags = syntheticTags(count);
    const Bytes archive = buildArchive(tags);
    const MemoryBytes file(archive);
    TagDirectory directory;
    test::RecordingObserver owner;
    directory.setObserver(&owner);
    ASSERT_EQ(readDirectory(directory, file, nullptr), ReadOutcome::Archive);
    ASSERT_EQ(directory.entryCount(), count);
    const std::uint64_t offset = archive.size() - count * 64;
    EXPECT_EQ(directory.directoryOffset(), offset);
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(directory.entryAt(i).headerPosition(), offset + 64 * i);
        ASSERT_EQ(directory.entryAt(i).name(), tags[i].name);
        ASSERT_EQ(owner.indexes[i], i);
    }
    EXPECT_EQ(owner.indexes.size(), count);
    EXPECT_EQ(owner.statuses.size(), directory.typeGroups().size()) << "each new type reported once";
    EXPECT_FALSE(directory.typeGroups().empty()) << "mapped at the end";
}

// An archive in memory whose reads fail from `failAt` on, as a bad sector does, and
// whose length may be claimed larger than its bytes, as a sparse file's is.
class DamagedBytes : public MemoryBytes {
public:
    DamagedBytes(Bytes bytes, std::uint64_t failAt, std::uint64_t claimedLength = 0)
        : MemoryBytes(std::move(bytes)), failAt_(failAt), claimed_(claimedLength)
    {
    }
    [[nodiscard]] std::uint64_t length() const override { return claimed_ ? claimed_ : MemoryBytes::length(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override
    {
        if (position + size > failAt_)
            throw FileError(FileErrorCause::Other, path(), "Input/output error");
        return MemoryBytes::readAt(position, buffer, size);
    }

private:
    std::uint64_t failAt_;
    std::uint64_t claimed_;
};

TEST(DirectoryReader, EntriesBeforeAReadErrorStayListed)
{
    constexpr std::size_t kEntries = 5000;
    const Bytes archive = archiveOf(kEntries);
    const std::uint64_t directoryStart = archive.size() - kEntries * kTagHeaderSize;
    // Failing in the first block, in the middle of a later one, and at the last header.
    for (const std::size_t firstBad : {std::size_t{0}, std::size_t{1}, std::size_t{4100}, kEntries - 1}) {
        const DamagedBytes file(archive, directoryStart + firstBad * kTagHeaderSize + 3);
        TagDirectory directory;
        EXPECT_THROW((void)readDirectory(directory, file, nullptr), FileError);
        EXPECT_EQ(directory.entryCount(), firstBad) << "failing at header " << firstBad;
    }
}

TEST(DirectoryReader, DirectoryTooLargeForMemoryIsRefusedBeforeReading)
{
    // 8 GiB claimed, as a sparse file: 134 million headers of zeros.
    const DamagedBytes sparse(archiveOf(3), std::uint64_t{1} << 62, std::uint64_t{8} << 30);
    TagDirectory directory;
    try {
        (void)readDirectory(directory, sparse, nullptr);
        FAIL() << "read a directory of 8 GiB";
    } catch (const FileError& e) {
        EXPECT_EQ(e.cause(), FileErrorCause::TooLarge);
        EXPECT_NE(std::string(e.what()).find("at most 16777216"), std::string::npos) << e.what();
    }
    EXPECT_EQ(directory.entryCount(), 0u);
}

}  // namespace
}  // namespace tagwarden
