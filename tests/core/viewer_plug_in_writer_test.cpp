#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "core/io/file.h"
#include "core/io/memory_bytes.h"
#include "core/io/utf8_path.h"
#include "core/prompt/scripted_prompter.h"
#include "core/sample/archive_builder.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "core/viewer/plug_in_extraction.h"
#include "core/viewer/plug_in_writer.h"
#include "fault_injection.h"
#include "support/shown.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

namespace fs = std::filesystem;

Bytes patterned(std::size_t count)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + i / 256);
    return bytes;
}

// An archive in a temporary folder, opened as the main window opens it.
struct OpenArchive {
    explicit OpenArchive(const std::vector<SampleTag>& tags, const Bytes& tail = {})
    {
        Bytes bytes = buildArchive(tags);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        path = dir.write("tags.gor", bytes);
        contents = bytes;
        file = File(path, File::Access::Read, File::Share::None);
        if (readDirectory(directory, file, nullptr) == ReadOutcome::NoDirectory)
            throw std::runtime_error("fixture without directory");
    }
    [[nodiscard]] TagEntry entry(std::size_t index) const { return directory.entryAt(index); }

    // Runs the writer with the save dialog answering `target` (or cancelled).
    bool write(std::size_t index, std::optional<std::string> target)
    {
        prompter.queueFile(std::move(target));
        return run(PlugInWriter(file, entry(index), path));
    }
    // As the viewer does: the writer asks, its notices are shown after it, never by it.
    bool run(PlugInWriter&& writer)
    {
        const std::size_t before = prompter.shown().size();
        Reported<bool> written = writer.writePlugIn(prompter);
        EXPECT_EQ(prompter.shown().size(), before) << "the writer showed a notice itself";
        return test::shown(prompter, std::move(written));
    }
    [[nodiscard]] std::vector<std::string> shownTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : prompter.shown())
            texts.push_back(shown.text);
        return texts;
    }

    test::TempDir dir;
    std::string path;
    Bytes contents;  // what the archive holds: no other opener may read it while `file` holds it
    File file;
    TagDirectory directory;
    ScriptedPrompter prompter;
};

TEST(PlugInWriter, Copies5000ByteTagWithItsHeaderPointingAt64)
{
    const Bytes data = patterned(5000);
    OpenArchive archive({{"Small", "stli", "zzzz", 1, Bytes(7, 1)}, {"Archer", "mons", "abcd", 9, data}});
    const std::string target = archive.dir.file("abcd");
    ASSERT_TRUE(archive.write(1, target));
    EXPECT_TRUE(archive.shownTexts().empty());

    const Bytes written = test::readAll(target);
    ASSERT_EQ(written.size(), 5064u);
    const Bytes source = archive.contents;
    const auto header = source.begin() + static_cast<std::ptrdiff_t>(archive.entry(1).headerPosition());
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 48, header));
    EXPECT_EQ(Bytes(written.begin() + 48, written.begin() + 52), (Bytes{0, 0, 0, 0x40}));
    EXPECT_TRUE(std::equal(written.begin() + 52, written.begin() + 64, header + 52));
    EXPECT_EQ(Bytes(written.begin() + 64, written.end()), data);
}

TEST(PlugInWriter, AsksForTheProposedNameWithThePlugInFilter)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(3, 1)}});
    EXPECT_FALSE(archive.write(0, std::nullopt));
    ASSERT_EQ(archive.prompter.fileRequests().size(), 1u);
    const auto& request = archive.prompter.fileRequests()[0];
    EXPECT_EQ(request.kind, Prompter::FileRequest::Kind::Save);
    EXPECT_EQ(request.initialName, archive.dir.file("local/mons/abcd"));
    EXPECT_EQ(request.filter, "Vorn Tag Files (*.gor)|*.gor|Plug-Ins|*|All Files (*.*)|*.*||");
    EXPECT_FALSE(request.mustExist);
    EXPECT_TRUE(archive.shownTexts().empty());  // a cancelled dialog touches nothing
    EXPECT_FALSE(fs::exists(archive.dir.file("local")));
}

TEST(PlugInWriter, TheProposedFolderIsMadeForTheDialogAndGoesAgainWhenLeftEmpty)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(3, 1)}});
    EXPECT_TRUE(archive.write(0, archive.dir.file("local/mons/abcd")));  // as proposed, no folder there before
    EXPECT_EQ(test::readAll(archive.dir.file("local/mons/abcd")).size(), 67u);
    EXPECT_TRUE(archive.write(0, archive.dir.file("elsewhere")));  // the folder keeps what it holds
    EXPECT_TRUE(fs::exists(archive.dir.file("local/mons/abcd")));
    fs::remove_all(archive.dir.file("local"));
    EXPECT_FALSE(archive.write(0, archive.dir.file("local/mons/x/y")));  // a level below is not made
    EXPECT_FALSE(fs::exists(archive.dir.file("local")));
}

TEST(PlugInWriter, WrittenPlugInOpensAsOneTagAtAddress64)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, patterned(1025)}, {"Empty", "stli", "none", 0, {}}});
    ASSERT_TRUE(archive.write(0, archive.dir.file("abcd")));
    ASSERT_TRUE(archive.write(1, archive.dir.file("none")));
    EXPECT_EQ(test::readAll(archive.dir.file("none")).size(), 64u);

    File plugIn(archive.dir.file("abcd"), File::Access::Read, File::Share::DenyWrite);
    TagDirectory directory;
    ASSERT_EQ(readDirectory(directory, plugIn, nullptr), ReadOutcome::SingleTag);
    ASSERT_EQ(directory.entryCount(), 1u);
    const TagEntry& copy = directory.entryAt(0);
    EXPECT_EQ(copy.startAddress(), 64u);
    EXPECT_EQ(copy.name(), "Archer");
    EXPECT_EQ(copy.type(), "mons");
    EXPECT_EQ(copy.id(), "abcd");
    EXPECT_EQ(copy.dataLength(), 1025u);
}

TEST(PlugInWriter, FillsAnEmptyTargetButRefusesOneHoldingAByte)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
    const std::string empty = archive.dir.write("empty", {});
    const std::string taken = archive.dir.write("taken", {0x2A});
    EXPECT_TRUE(archive.write(0, empty));
    EXPECT_EQ(test::readAll(empty).size(), 74u);

    EXPECT_FALSE(archive.write(0, taken));
    EXPECT_EQ(archive.shownTexts(), std::vector<std::string>{"ERROR - Plugin Already Exists"});
    EXPECT_EQ(archive.prompter.shown()[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(test::readAll(taken), Bytes{0x2A});
}

TEST(PlugInWriter, TargetThatCannotBeOpenedIsReportedAndNoFolderIsMade)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
    EXPECT_FALSE(archive.write(0, archive.dir.file("missing/abcd")));
    EXPECT_FALSE(archive.write(0, archive.path));  // the open archive itself is not shared
    const std::string prefix = "ERROR - Plugin File Couldn't be created: ";
    EXPECT_EQ(archive.shownTexts(),
              (std::vector<std::string>{prefix + FileError(FileErrorCause::NotFound, archive.dir.file("missing/abcd"),
                                                           test::missingWords(archive.dir.file("missing/abcd")))
                                                     .what(),
                                        prefix + FileError(FileErrorCause::SharingViolation, archive.path).what()}));
    EXPECT_FALSE(fs::exists(archive.dir.file("missing")));
    archive.file.close();
    EXPECT_EQ(test::readAll(archive.path), archive.contents);
}

TEST(PlugInWriter, SourceEndingEarlyLeavesNoPlugInBehind)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps other writers out of the archive held open";
#endif
    // The tag claims 3000 bytes but the file ends after 1500 of them.
    OpenArchive archive({{"Cut", "mons", "abcd", 0, patterned(1500)}});
    const std::string path = archive.path;
    const char claimed[] = {0, 0, 0x0B, static_cast<char>(0xB8)};
    std::ofstream(path, std::ios::binary | std::ios::in)
        .seekp(static_cast<std::streamoff>(archive.entry(0).headerPosition() + 52))
        .write(claimed, sizeof claimed);
    ASSERT_EQ(readDirectory(archive.directory, archive.file, nullptr), ReadOutcome::Archive);
    const TagEntry longer = archive.entry(0);
    ASSERT_EQ(longer.dataLength(), 3000u);

    archive.prompter.queueFile(archive.dir.file("cut"));
    EXPECT_FALSE(archive.run(PlugInWriter(archive.file, longer, path)));
    EXPECT_FALSE(fs::exists(archive.dir.file("cut")));
    ASSERT_EQ(archive.shownTexts().size(), 1u);
    EXPECT_EQ(archive.shownTexts()[0], FileError(FileErrorCause::EndOfFile, path).what());

    // A target that existed empty is left existing and empty.
    const std::string empty = archive.dir.write("empty", {});
    archive.prompter.queueFile(empty);
    EXPECT_FALSE(archive.run(PlugInWriter(archive.file, longer, path)));
    EXPECT_TRUE(fs::exists(empty));
    EXPECT_EQ(fs::file_size(empty), 0u);
}

// The writer copies the tag that was listed: a header that another program changed
// in the file since (any field: type, id, start, length, name) stops it, and a
// whole-type extraction stops there too.
TEST(PlugInWriter, AHeaderChangedSinceTheListingStopsTheCopy)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps other writers out of the archive held open";
#endif
    for (const std::size_t byte : {std::size_t{0}, std::size_t{33}, std::size_t{38}, std::size_t{51}, std::size_t{55}}) {
        SCOPED_TRACE("header byte " + std::to_string(byte));
        OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)},
                             {"Knight", "mons", "efgh", 0, Bytes(10, 6)},
                             {"Mage", "mons", "ijkl", 0, Bytes(10, 7)}});
        const char changed = 0x7F;
        std::ofstream(archive.path, std::ios::binary | std::ios::in)
            .seekp(static_cast<std::streamoff>(archive.entry(1).headerPosition() + byte))
            .write(&changed, 1);
        EXPECT_FALSE(archive.write(1, archive.dir.file("one")));
        EXPECT_FALSE(fs::exists(archive.dir.file("one")));
        EXPECT_EQ(archive.shownTexts(), (std::vector<std::string>{kArchiveChangedMessage}));

        std::vector<ExtractedPlugIn> outcomes;
        extractGroup(archive.file, archive.path, archive.directory, archive.directory.typeGroups()[0],
                     archive.dir.file("all"), [&outcomes](const ExtractedPlugIn& o) { outcomes.push_back(o); });
        ASSERT_EQ(outcomes.size(), 2u) << "the member after the changed one is not tried";
        EXPECT_TRUE(outcomes[0].created);
        EXPECT_FALSE(outcomes[1].created);
        EXPECT_TRUE(outcomes[1].sourceChanged);
        EXPECT_FALSE(fs::exists(archive.dir.file("all/efgh")));
    }
}

// Names are UTF-8 text: a folder named with letters outside any code page (here
// "é" and "Ω") is made and written under that very name.
TEST(PlugInWriter, AFolderNamedOutsideAsciiIsMadeUnderThatName)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
    const std::string name = "Einheiten-\xC3\xA9\xCE\xA9";
    const std::string folder = utf8Of(archive.dir.path() / pathFromUtf8(name));
    std::vector<ExtractedPlugIn> outcomes;
    extractGroup(archive.file, archive.path, archive.directory, archive.directory.typeGroups()[0], folder,
                 [&outcomes](const ExtractedPlugIn& o) { outcomes.push_back(o); });
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].created) << (outcomes[0].notices.empty() ? "" : outcomes[0].notices[0].text);
    EXPECT_EQ(outcomes[0].path, utf8Of(pathFromUtf8(folder) / "abcd"));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(archive.dir.path()))
        names.push_back(utf8Of(entry.path().filename()));
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end());
    EXPECT_TRUE(fs::is_regular_file(pathFromUtf8(folder) / "abcd"));
}

TEST(PlugInWriter, ReadErrorIsReportedAndRemovesThePlugIn)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
    archive.file.close();  // every read now fails
    EXPECT_FALSE(archive.write(0, archive.dir.file("abcd")));
    EXPECT_FALSE(fs::exists(archive.dir.file("abcd")));
    ASSERT_EQ(archive.shownTexts().size(), 1u);
    EXPECT_NE(archive.shownTexts()[0].find(archive.path), std::string::npos);
}

TEST(PlugInName, ProposedBesideTheArchiveUnderLocalTypeId)
{
    const TagEntry entry(makeHeader({"Archer", "mons", "abcd", 0, {}}, 64), 0);
    EXPECT_EQ(proposedPlugInName(test::native("/g/tags.gor"), entry), test::native("/g/local/mons/abcd"));
    EXPECT_EQ(proposedPlugInName(test::native("/g/mytags.gor"), entry), test::native("/g/mylocal/mons/abcd"));
    EXPECT_EQ(proposedPlugInName(test::native("/g/my.gor"), entry), test::native("/g/local/mons/abcd"));
    EXPECT_EQ(proposedPlugInName(test::native("/g/local/mons/abcd"), entry), test::native("/g/local/mons/local/mons/abcd"));
    EXPECT_EQ(proposedPlugInName(test::native("tags.gor"), entry), test::native("local/mons/abcd"));
    EXPECT_EQ(proposedPlugInName(test::native("plugin"), entry), test::native("local/mons/abcd"));
}

TEST(PlugInName, FieldsNeverLeaveTheirFolder)
{
    using namespace std::string_literals;
    EXPECT_EQ(plugInFileName("abcd"), "abcd");
    EXPECT_EQ(plugInFileName("ab\0\0"s), "ab");
    EXPECT_EQ(plugInFileName("a\0b\0"s), "a_b");
    EXPECT_EQ(plugInFileName("\0\0\0\0"s), "_");
    EXPECT_EQ(plugInFileName(".\0\0\0"s), "_");
    EXPECT_EQ(plugInFileName("..\0\0"s), "__");
    EXPECT_EQ(plugInFileName("../a"), ".._a");
    EXPECT_EQ(plugInFileName("a\\b\n"), "a_b_");
    EXPECT_EQ(plugInFileName("\x7F\xE9.."), "_\xE9..");

    const TagEntry entry(makeHeader({"Evil", "../", "..", 0, {}}, 64), 0);
    EXPECT_EQ(proposedPlugInName(test::native("/g/tags.gor"), entry), test::native("/g/local/.._/__"));
}

TEST(PlugInExtraction, GroupGoesIntoItsFolderWhateverTheIds)
{
    OpenArchive archive({{"One", "mons", "../a", 0, Bytes(4, 1)},
                         {"Two", "mons", "..", 0, Bytes(5, 2)},
                         {"Other", "stli", "abcd", 0, Bytes(6, 3)},
                         {"Three", "mons", "ab/c", 0, Bytes(7, 4)},
                         {"Twin", "mons", "ab\\c", 0, Bytes(8, 5)}});
    const std::string folder = archive.dir.file("out/mons");
    std::vector<ExtractedPlugIn> outcomes;
    extractGroup(archive.file, archive.path, archive.directory, archive.directory.typeGroups()[0], folder,
                 [&outcomes](const ExtractedPlugIn& outcome) { outcomes.push_back(outcome); });

    ASSERT_EQ(outcomes.size(), 4u);
    EXPECT_EQ(outcomes[0].path, test::native(folder + "/.._a"));
    EXPECT_EQ(outcomes[1].path, test::native(folder + "/__"));
    EXPECT_EQ(outcomes[2].path, test::native(folder + "/ab_c"));
    EXPECT_TRUE(outcomes[0].created && outcomes[1].created && outcomes[2].created);
    // Two ids that are one file name: the second does not overwrite the first.
    EXPECT_FALSE(outcomes[3].created);
    ASSERT_EQ(outcomes[3].notices.size(), 1u);
    EXPECT_EQ(outcomes[3].notices[0].text, "ERROR - Plugin Already Exists");
    EXPECT_EQ(test::readAll(folder + "/ab_c").size(), 64u + 7u);

    std::size_t files = 0;
    for (const auto& item : fs::recursive_directory_iterator(archive.dir.path()))
        files += item.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u + 3u);  // the archive and the three plug-ins
}

// Targets that are not a free name or an empty file: never written, never through.
TEST(PlugInWriter, TargetsThatAreNotFreeOrEmptyFilesAreLeftAsTheyAre)
{
    struct Case {
        const char* what;
        std::function<std::string(test::TempDir&)> plant;  // answers the target
        std::string shown;                                 // the notice, up to the cause's detail
    };
    const std::string notCreated = "ERROR - Plugin File Couldn't be created: The file \"";
    const std::vector<Case> cases{
        {"folder", [](test::TempDir& d) { fs::create_directory(d.file("t")); return d.file("t"); },
         "is a folder, not a file."},
#ifndef _WIN32  // MinGW's library makes no links, and Windows has no FIFOs in its folders
        {"dangling link", [](test::TempDir& d) { fs::create_symlink(d.file("outside"), d.file("t")); return d.file("t"); },
         "ERROR - Plugin Already Exists"},
        {"link to an empty file",
         [](test::TempDir& d) { d.write("outside", {}); fs::create_symlink(d.file("outside"), d.file("t")); return d.file("t"); },
         "ERROR - Plugin Already Exists"},
        {"FIFO", [](test::TempDir& d) { (void)::mkfifo(d.file("t").c_str(), 0600); return d.file("t"); },
         "is not a regular file. (a pipe (FIFO))"},
#endif
    };
    for (const Case& c : cases) {
        OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
        const std::string target = c.plant(archive.dir);
        const auto before = fs::symlink_status(target).type();
        EXPECT_FALSE(archive.write(0, target)) << c.what;
        ASSERT_EQ(archive.shownTexts().size(), 1u) << c.what;
        const std::string shown = archive.shownTexts()[0];
        if (c.shown.starts_with("ERROR"))
            EXPECT_EQ(shown, c.shown) << c.what;
        else
            EXPECT_EQ(shown, notCreated + target + "\" " + c.shown) << c.what;
        EXPECT_EQ(fs::symlink_status(target).type(), before) << c.what;
        EXPECT_FALSE(fs::exists(archive.dir.file("outside")) && fs::file_size(archive.dir.file("outside")) != 0)
            << c.what << ": written through the link";
        EXPECT_EQ(test::namesIn(archive.dir.path()).size(), 2u + (fs::exists(archive.dir.file("outside")) ? 1 : 0))
            << c.what << ": only the archive, the target and what it points at";
    }
}

// The source as the writer reads it, with another writer taking the target while
// the copy is under way (as a second process would) or the process dying there.
class InterruptedSource : public MemoryBytes {
public:
    InterruptedSource(const std::string& archive, std::function<void()> meanwhile, std::uint64_t cut = 0)
        : MemoryBytes(test::readAll(archive), archive), meanwhile_(std::move(meanwhile)), cut_(cut)
    {
    }
    [[nodiscard]] std::uint64_t length() const override { return cut_ ? cut_ : MemoryBytes::length(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t position, void* buffer, std::size_t size) const override
    {
        if (position >= kTagHeaderSize && meanwhile_)
            std::exchange(meanwhile_, nullptr)();
        const std::uint64_t end = cut_ ? cut_ : MemoryBytes::length();
        return position >= end ? 0 : MemoryBytes::readAt(position, buffer, std::min<std::uint64_t>(size, end - position));
    }

private:
    mutable std::function<void()> meanwhile_;
    std::uint64_t cut_;
};

TEST(PlugInWriter, AnotherWritersFileIsNeverOverwrittenNorRemoved)
{
    for (const bool sourceEndsEarly : {false, true}) {
        OpenArchive archive({{"Archer", "mons", "abcd", 0, patterned(3000)}});
        const std::string target = archive.dir.file("abcd");
        const InterruptedSource source(
            archive.path, [&target] { std::ofstream(target, std::ios::binary) << "theirs"; },
            sourceEndsEarly ? archive.entry(0).startAddress() + 1500 : 0);
        archive.prompter.queueFile(target);
        EXPECT_FALSE(archive.run(PlugInWriter(source, archive.entry(0), archive.path)));
        EXPECT_EQ(test::readAll(target), (Bytes{'t', 'h', 'e', 'i', 'r', 's'})) << sourceEndsEarly;
        EXPECT_EQ(test::namesIn(archive.dir.path()), (std::vector<std::string>{"abcd", "tags.gor"}));
    }
}

TEST(PlugInWriter, KilledMidCopyLeavesNoPlugInAndTheNextRunSucceeds)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, patterned(5000)}});
    const std::string target = archive.dir.file("abcd");
    const InterruptedSource dying(archive.path, [] { std::_Exit(test::FaultPlan::kKilledExitCode); });
    EXPECT_EXIT(
        {
            ScriptedPrompter prompter;
            prompter.queueFile(target);
            (void)PlugInWriter(dying, archive.entry(0), archive.path).writePlugIn(prompter);
        },
        testing::ExitedWithCode(test::FaultPlan::kKilledExitCode), "");
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(archive.write(0, target));
    EXPECT_EQ(test::readAll(target).size(), 5064u);
}

TEST(PlugInWriter, FailedWriteOrSyncLeavesNoPlugIn)
{
    // The steps: the header's write, the data's write, the sync before the rename.
    for (const int failAt : {1, 2, 3}) {
        OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
        test::FaultPlan plan(failAt);
        archive.prompter.queueFile(archive.dir.file("abcd"));
        EXPECT_FALSE(archive.run(PlugInWriter(archive.file, archive.entry(0), archive.path,
                                              PlugInWriter::Existing::FillEmpty, [&plan](ByteSource& file) {
                                                  return std::make_unique<test::FaultyBytes>(file, plan);
                                              })))
            << failAt;
        EXPECT_EQ(plan.steps.size(), static_cast<std::size_t>(failAt));
        EXPECT_EQ(test::namesIn(archive.dir.path()), std::vector<std::string>{"tags.gor"}) << failAt;
    }
}

TEST(PlugInWriter, ReplacesAFileHoldingDataOnlyWhenAsked)
{
    OpenArchive archive({{"Archer", "mons", "abcd", 0, Bytes(10, 5)}});
    const std::string taken = archive.dir.write("taken", {0x2A});
    archive.prompter.queueFile(taken);
    EXPECT_TRUE(
        archive.run(PlugInWriter(archive.file, archive.entry(0), archive.path, PlugInWriter::Existing::Replace)));
    EXPECT_EQ(test::readAll(taken).size(), 74u);
}

TEST(PlugInExtraction, APlantedLinkNeverTakesAPlugInOutOfItsFolder)
{
#ifdef _WIN32
    GTEST_SKIP() << "MinGW's library makes no symbolic links";
#else
    OpenArchive archive({{"One", "mons", "abcd", 0, Bytes(4, 1)}, {"Two", "mons", "efgh", 0, Bytes(4, 2)}});
    const std::string folder = archive.dir.file("out");
    fs::create_directory(folder);
    fs::create_symlink(archive.dir.file("escaped"), folder + "/abcd");
    std::vector<ExtractedPlugIn> outcomes;
    extractGroup(archive.file, archive.path, archive.directory, archive.directory.typeGroups()[0], folder,
                 [&outcomes](const ExtractedPlugIn& outcome) { outcomes.push_back(outcome); });
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_FALSE(outcomes[0].created);
    EXPECT_TRUE(outcomes[1].created);
    EXPECT_FALSE(fs::exists(archive.dir.file("escaped")));
#endif
}

}  // namespace
}  // namespace tagwarden
