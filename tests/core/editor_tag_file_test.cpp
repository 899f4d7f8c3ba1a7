#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/editors/editor_tag_file.h"
#include "core/io/byte_order.h"
#include "core/io/file.h"
#include "core/prompt/scripted_prompter.h"
#include "core/settings/settings_store.h"
#include "fault_injection.h"
#include "support/shown.h"
#include "support/temp_dir.h"

namespace tagwarden {
namespace {

using test::readAll;

class EditorTagFileTest : public ::testing::Test {
protected:
    EditorTagFileTest()
    {
        settings.writeString(settings::kSection, settings::kTagsDirectory, dir.path().string());
        settings.writeString(settings::kSection, settings::kBackupDirectory, dir.file("Backup"));
    }

    // A plug-in whose opaque header bytes are all set, so that keeping them shows.
    std::string writePlugIn(const std::string& name, const std::string& type, std::size_t dataSize)
    {
        Bytes data(dataSize);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::uint8_t>(i * 7 + 1);
        Bytes bytes = buildPlugIn({"Original name", type, "orid", 9, data});
        for (std::size_t i = 40; i < 47; ++i)
            bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
        std::memcpy(bytes.data() + 56, "\x11\x22\x33\x44", 4);
        return dir.write("local/" + type + "/" + name, bytes);
    }

    // As an editor's form does: the notices shown, the value used.
    template <typename T>
    T shown(Reported<T> reported)
    {
        return test::shown(prompter, std::move(reported));
    }

    [[nodiscard]] std::string lastMessage() const
    {
        return prompter.shown().empty() ? std::string{} : prompter.shown().back().text;
    }

    test::TempDir dir;
    MemorySettingsStore settings;
    ScriptedPrompter prompter;
    EditorTagFile editor{settings, prompter};
};

TEST_F(EditorTagFileTest, ChooserStartsInTheTypeFolderOfTheTagsDirectoryListingAllFiles)
{
    EXPECT_EQ(editor.startFolder("mons"), dir.path().string() + "/local/mons/");
    settings.writeString(settings::kSection, settings::kTagsDirectory, "/games/vorn/");
    EXPECT_EQ(editor.startFolder("stli"), "/games/vorn/local/stli/");
    settings.writeString(settings::kSection, settings::kTagsDirectory, "");
    EXPECT_EQ(editor.startFolder("mons"), "/local/mons/");
    EXPECT_EQ(editor.startFolder(""), "/local/");

    EXPECT_FALSE(editor.chooseAndOpen("mons"));  // nothing queued: cancelled
    ASSERT_EQ(prompter.fileRequests().size(), 1u);
    const auto& request = prompter.fileRequests().front();
    EXPECT_EQ(request.kind, Prompter::FileRequest::Kind::Open);
    EXPECT_EQ(request.initialName, "/local/mons/");
    EXPECT_EQ(request.filter, "Vorn PlugIns |*||");
    EXPECT_TRUE(request.mustExist);
    EXPECT_FALSE(editor.fileOpen());
    EXPECT_FALSE(editor.readHeader());
}

TEST_F(EditorTagFileTest, ReadsTheHeaderFieldsAsRawBytes)
{
    Bytes bytes = buildPlugIn({"Name", "stli", "ab", 0, Bytes(10)});
    std::memcpy(bytes.data() + 8, "\0tail", 5);  // bytes behind the name's first zero are kept too
    prompter.queueFile(dir.write("p", bytes));
    ASSERT_TRUE(editor.chooseAndOpen("stli"));
    ASSERT_TRUE(editor.readHeader());
    EXPECT_EQ(editor.name(), std::string("Name\0\0\0\0\0tail", 13) + std::string(19, '\0'));
    EXPECT_EQ(editor.type(), "stli");
    EXPECT_EQ(editor.id(), std::string("ab\0\0", 4));
    EXPECT_EQ(editor.dataLength(), 10u);
}

TEST_F(EditorTagFileTest, SavingRewritesNameIdAndLengthZeroFilledAndKeepsEveryOtherHeaderByte)
{
    const std::string path = writePlugIn("orid", "stli", 20);
    const Bytes before = readAll(path);
    prompter.queueFile(path);
    ASSERT_EQ(shown(editor.openPlugIn("stli")), EditorTagFile::OpenOutcome::Opened);

    editor.setName("Short");
    editor.setId("xy");
    editor.setDataLength(12);
    editor.storeHeaderFields();
    const Bytes data(12, 0x5A);
    ASSERT_TRUE(shown(editor.writeTag(data)));

    Bytes expected = before;
    std::memset(expected.data(), 0, 32);
    std::memcpy(expected.data(), "Short", 5);
    std::memcpy(expected.data() + 36, "xy\0\0", 4);
    writeBigEndian32(expected.data() + 52, 12);
    std::fill(expected.begin() + 64, expected.begin() + 76, 0x5A);  // the old data's last 8 bytes stay behind
    EXPECT_EQ(readAll(path), expected);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "The file as it was before this save is backed up as:\n" +
                                            dir.file("Backup/local/stli/orid"));
    EXPECT_EQ(readAll(dir.file("Backup/local/stli/orid")), before);
}

TEST_F(EditorTagFileTest, AFailedWriteOrSyncLeavesThePlugInAsItWasOrAsSavedAndStillHeld)
{
    const Bytes before = readAll(writePlugIn("orid", "mons", 512));
    Bytes saved = before;
    std::fill(saved.begin() + 64, saved.end(), 0x77);
    std::vector<std::string> steps;
    for (int step = 1; steps.empty(); ++step) {
        const std::string path = dir.write("local/mons/orid", before);
        test::FaultPlan plan(step);
        EditorTagFile faulty(settings, prompter, [&plan](const std::string& chosen) {
            return std::make_unique<test::FaultyFile>(chosen, File::Share::DenyWrite, plan);
        });
        prompter.queueFile(path);
        ASSERT_EQ(shown(faulty.openPlugIn("mons")), EditorTagFile::OpenOutcome::Opened);
        faulty.storeHeaderFields();
        const bool written = shown(faulty.writeTag(Bytes(saved.begin() + 64, saved.end())));
        const Bytes after = readAll(path);
        EXPECT_TRUE(after == before || after == saved) << "step " << step;
        EXPECT_EQ(written, static_cast<int>(plan.steps.size()) < step) << "step " << step;
        if (written) {
            steps = plan.steps;
            continue;
        }
        EXPECT_NE(lastMessage().find("injected"), std::string::npos) << "step " << step;
        EXPECT_THROW(File(path, File::Access::ReadWrite, File::Share::All), FileError) << "released at step " << step;
    }
    EXPECT_EQ(steps, (std::vector<std::string>{"write", "write", "sync", "sync"}));  // header, data
    EXPECT_EQ(readAll(dir.file("local/mons/orid")), saved);
}

// A save asks before it overwrites what another program put under the name since
// the file was read, and before it splits a file of several names; Cancel writes
// nothing. After a save of its own, the next one asks nothing.
TEST_F(EditorTagFileTest, ASaveAsksBeforeOverwritingAnOutsideChangeOrSplittingHardLinks)
{
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::function<void(const std::string& path)> meanwhile;
        const char* question;  // nothing asked when null
    } cases[] = {
        {"nothing", [](const std::string&) {}, nullptr},
        // Windows keeps other writers out of the file the editor holds, and without
        // POSIX renames (Wine) nothing can be renamed over it either.
#ifndef _WIN32
        {"replaced by another program",
         [this](const std::string& path) { fs::rename(dir.write("other", Bytes(64 + 8, 1)), path); },
         kChangedOutsideQuestion},
        {"written in place by another program",
         [](const std::string& path) { std::ofstream(path, std::ios::binary | std::ios::app).put('x'); },
         kChangedOutsideQuestion},
#endif
        {"given another name", [](const std::string& path) { fs::create_hard_link(path, path + ".also"); },
         kHardLinksQuestion},
    };
    for (const auto& c : cases) {
        for (const auto answer : {Prompter::Answer::Cancel, Prompter::Answer::Ok}) {
            SCOPED_TRACE(std::string(c.what) + (answer == Prompter::Answer::Ok ? ", Ok" : ", Cancel"));
            fs::remove_all(dir.path() / "local");
            const std::string path = writePlugIn("orid", "stli", 8);
            EditorTagFile file{settings, prompter};
            prompter.queueFile(path);
            ASSERT_EQ(shown(file.openPlugIn("stli")), EditorTagFile::OpenOutcome::Opened);
            c.meanwhile(path);
            const Bytes before = readAll(path);
            prompter.clearRecord();
            if (c.question)
                prompter.queueAnswer(answer);
            const bool saved = shown(file.writeTag(Bytes(8, 0x33)));
            EXPECT_EQ(saved, !c.question || answer == Prompter::Answer::Ok);
            if (c.question) {
                ASSERT_FALSE(prompter.shown().empty());
                EXPECT_NE(prompter.shown()[0].text.find(c.question), std::string::npos) << prompter.shown()[0].text;
                EXPECT_NE(prompter.shown()[0].text.find(path), std::string::npos);
            }
            if (!saved) {
                EXPECT_EQ(readAll(path), before);
                continue;
            }
            prompter.clearRecord();
            EXPECT_TRUE(shown(file.writeTag(Bytes(8, 0x44)))) << "a second save";
            EXPECT_TRUE(prompter.shown().empty()) << "its own save is no outside change";
        }
    }
}

TEST_F(EditorTagFileTest, ShowsNothingItselfAndReturnsEveryNotice)
{
    prompter.queueFile(writePlugIn("st", "stli", 8));
    const Reported<EditorTagFile::OpenOutcome> wrongType = editor.openPlugIn("mons");
    prompter.queueFile(writePlugIn("orid", "mons", 4));
    const Reported<EditorTagFile::OpenOutcome> opened = editor.openPlugIn("mons");
    const Reported<bool> wrongLength = editor.writeTag(Bytes(3));
    const Reported<bool> backedUp = editor.writeTag(Bytes(4));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ((std::vector<std::size_t>{wrongType.notices.size(), opened.notices.size(), wrongLength.notices.size(),
                                        backedUp.notices.size()}),
              (std::vector<std::size_t>{1, 0, 1, 1}));
}

TEST_F(EditorTagFileTest, NameAndIdLongerThanTheirFieldsAreCut)
{
    prompter.queueFile(writePlugIn("orid", "mons", 4));
    ASSERT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Opened);
    editor.setName(std::string(40, 'n'));
    editor.setId("abcdef");
    editor.storeHeaderFields();
    EXPECT_EQ(std::string(editor.header().begin(), editor.header().begin() + 40), std::string(32, 'n') + "monsabcd");
}

TEST_F(EditorTagFileTest, DataOfAnotherLengthThanTheHeaderIsRefusedAndNothingWritten)
{
    const std::string path = writePlugIn("orid", "mons", 512);
    const Bytes before = readAll(path);
    prompter.queueFile(path);
    ASSERT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Opened);
    editor.setName("Changed");
    editor.storeHeaderFields();
    EXPECT_FALSE(shown(editor.writeTag(Bytes(511))));
    EXPECT_EQ(lastMessage(), "ERROR - Length is not same as Header data");
    EXPECT_EQ(readAll(path), before);

    EXPECT_TRUE(shown(editor.writeTag(Bytes(512, 1))));  // exactly 576 bytes from offset 0
    EXPECT_EQ(readAll(path).size(), 576u);
}

TEST_F(EditorTagFileTest, AnotherTypeIsRefusedWithItsNameAndTheFileReleased)
{
    const std::string path = writePlugIn("orid", "stli", 8);
    prompter.queueFile(path);
    EXPECT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Refused);
    EXPECT_EQ(lastMessage(), "This Editor cannot currently edit stli type objects");
    EXPECT_FALSE(editor.fileOpen());
    EXPECT_NO_THROW(File(path, File::Access::ReadWrite, File::Share::None));
}

TEST_F(EditorTagFileTest, AFileShorterThanAHeaderIsRefusedUntouched)
{
    const Bytes shortFile(40, 0x33);
    const std::string path = dir.write("tiny", shortFile);
    prompter.queueFile(path);
    EXPECT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Refused);
    EXPECT_EQ(lastMessage(), "The file \"" + path +
                                 "\" is too short to edit: it holds 40 bytes, but needs 64 for a tag header. "
                                 "The file was left unchanged.");
    EXPECT_EQ(readAll(path), shortFile);
    EXPECT_FALSE(editor.fileOpen());
}

TEST_F(EditorTagFileTest, DataBeyondTheEndOfTheFileIsRefusedWithoutAllocatingIt)
{
    Bytes bytes = buildPlugIn({"Huge", "stli", "huge", 0, Bytes(16)});
    writeBigEndian32(bytes.data() + 52, 0xFFFFFFFFu);
    const std::string path = dir.write("huge", bytes);
    prompter.queueFile(path);
    ASSERT_EQ(shown(editor.openPlugIn("stli")), EditorTagFile::OpenOutcome::Opened);
    EXPECT_FALSE(shown(editor.readData(editor.dataLength())));
    EXPECT_EQ(lastMessage(), "The file \"" + path +
                                 "\" is too short to edit: it holds 80 bytes, but needs 4294967359 for the 64-byte "
                                 "tag header and 4294967295 bytes of data. The file was left unchanged.");
    EXPECT_FALSE(editor.fileOpen());
    EXPECT_EQ(readAll(path), bytes);
}

TEST_F(EditorTagFileTest, ReadsTheDataFromOffset64WhateverTheHeaderSays)
{
    Bytes bytes = buildPlugIn({"Data", "mons", "data", 0, {1, 2, 3, 4, 5}});
    writeBigEndian32(bytes.data() + 48, 9999);  // start address not consulted
    prompter.queueFile(dir.write("d", bytes));
    ASSERT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Opened);
    EXPECT_EQ(shown(editor.readData(4)), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(shown(editor.readData(0)), Bytes{});
}

TEST_F(EditorTagFileTest, APlugInHeldElsewhereCannotBeOpenedAndTheFileErrorIsShown)
{
    const std::string path = writePlugIn("orid", "mons", 8);
    {
        File mainWindow(path, File::Access::Read, File::Share::None);
        prompter.queueFile(path);
        EXPECT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Refused);
        EXPECT_EQ(lastMessage(), FileError(FileErrorCause::SharingViolation, path).what());
    }
    EditorTagFile other(settings, prompter);
    prompter.queueFile(path);
    ASSERT_EQ(shown(other.openPlugIn("mons")), EditorTagFile::OpenOutcome::Opened);
    prompter.queueFile(path);
    EXPECT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Refused);
    EXPECT_EQ(lastMessage(), FileError(FileErrorCause::SharingViolation, path).what());
    // Others may still read it.
    EXPECT_NO_THROW(File(path, File::Access::Read, File::Share::All));

    prompter.queueFile(dir.file("missing"));
    EXPECT_EQ(shown(editor.openPlugIn("mons")), EditorTagFile::OpenOutcome::Refused);
    EXPECT_NE(lastMessage().find("could not be found"), std::string::npos);
}

}  // namespace
}  // namespace tagwarden
