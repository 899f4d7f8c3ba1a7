#include <gtest/gtest.h>

#include <algorithm>

#include "core/io/memory_bytes.h"
#include "core/sample/archive_builder.h"
#include "core/tags/tag_directory.h"

namespace tagwarden {
namespace {

// Records the owner's call-backs in order.
class RecordingOwner : public DirectoryObserver {
public:
    explicit RecordingOwner(const TagDirectory& directory) : directory_(directory) {}

    void addListLine(std::size_t index) override
    {
        lines.push_back(std::to_string(index) + " " + directory_.entryAt(index).listLine());
    }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void refillTypeFilter() override { ++refills; }

    std::vector<std::string> lines;
    std::vector<std::string> statuses;
    int refills = 0;

private:
    const TagDirectory& directory_;
};

// Entries given as type and id (4 bytes each, NULs allowed); names are "n0", "n1", ...
void fill(TagDirectory& directory, const std::vector<std::pair<std::string, std::string>>& codes)
{
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const SampleTag tag{"n" + std::to_string(i), codes[i].first, codes[i].second, 0, {}};
        directory.appendEntry(makeHeader(tag, 64), 64 * i);
    }
}

TEST(TagDirectory, EntriesKeepFileOrderAndReportTheirLines)
{
    TagDirectory directory;
    RecordingOwner owner(directory);
    directory.setObserver(&owner);
    fill(directory, {{"mons", "abcd"}, {"stli", "wxyz"}, {"mons", "abcd"}});
    ASSERT_EQ(directory.entryCount(), 3u);
    EXPECT_EQ(directory.entryAt(2).name(), "n2");
    EXPECT_EQ(directory.entryAt(1).headerPosition(), 64u);
    EXPECT_EQ(owner.lines, (std::vector<std::string>{"0 abcd : n0", "1 wxyz : n1", "2 abcd : n2"}));
    EXPECT_TRUE(owner.statuses.empty()) << "types are reported by the mapping, not while reading";
}

TEST(TagDirectory, MappingGroupsByFirstAppearanceAndKeepsTheFirstOfEachId)
{
    TagDirectory directory;
    RecordingOwner owner(directory);
    directory.setObserver(&owner);
    fill(directory, {{"mons", "abcd"}, {"stli", "wxyz"}, {"mons", "abcd"}, {"mons", "efgh"}, {"proj", "abcd"}});
    directory.mapTypes();

    const auto& groups = directory.typeGroups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].type, "mons");
    EXPECT_EQ(groups[1].type, "stli");
    EXPECT_EQ(groups[2].type, "proj");
    ASSERT_EQ(groups[0].memberCount(), 2) << "the duplicate abcd counts once";
    EXPECT_EQ(groups[0].members[0].idText(), "abcd");
    EXPECT_EQ(groups[0].members[0].index, 0);
    EXPECT_EQ(groups[0].members[1].idText(), "efgh");
    EXPECT_EQ(groups[0].members[1].index, 3);
    EXPECT_EQ(groups[2].members[0].index, 4) << "the same id under another type is another member";
    EXPECT_EQ(directory.entryCount(), 5u) << "the duplicate stays in the entries";
    EXPECT_EQ(owner.statuses, (std::vector<std::string>{"Added New Object Type - mons", "Added New Object Type - stli",
                                                        "Added New Object Type - proj"}));

    directory.mapTypes();  // mapping again builds the same index, not a second copy
    EXPECT_EQ(directory.typeGroups().size(), 3u);
    EXPECT_EQ(directory.typeGroups()[0].memberCount(), 2);
}

TEST(TagDirectory, LongDirectoriesMapLikeTheLinearWalk)
{
    std::vector<std::pair<std::string, std::string>> codes;
    for (int i = 0; i < 500; ++i)
        codes.emplace_back("t" + std::to_string(i * 7 % 5), "i" + std::to_string(i * 13 % 97));
    for (int i = 0; i < 2; ++i)  // all bits set in type and id: the set keeps this pair apart
        codes.emplace_back("\xFF\xFF\xFF\xFF", "\xFF\xFF\xFF\xFF");
    TagDirectory directory;
    fill(directory, codes);
    directory.mapTypes();

    // The index as the walk over groups and members builds it.
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, int>>>> walk;
    for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
        const auto& [type, id] = codes[static_cast<std::size_t>(i)];
        auto group = std::find_if(walk.begin(), walk.end(), [&type](const auto& g) { return g.first == type; });
        if (group == walk.end())
            group = walk.insert(walk.end(), {type, {}});
        auto& members = group->second;
        if (std::none_of(members.begin(), members.end(), [&id](const auto& m) { return m.first == id; }))
            members.emplace_back(id, i);
    }
    const auto& groups = directory.typeGroups();
    ASSERT_EQ(groups.size(), walk.size());
    for (std::size_t g = 0; g < walk.size(); ++g) {
        ASSERT_EQ(groups[g].members.size(), walk[g].second.size()) << walk[g].first;
        for (std::size_t m = 0; m < walk[g].second.size(); ++m) {
            const auto& [id, index] = walk[g].second[m];
            EXPECT_EQ(groups[g].members[m].idText(), id + std::string(4 - id.size(), '\0'));
            EXPECT_EQ(groups[g].members[m].index, index);
        }
    }
}

TEST(TagDirectory, CodesCompareUpToTheirFirstNul)
{
    TagDirectory directory;
    RecordingOwner owner(directory);
    directory.setObserver(&owner);
    fill(directory, {{std::string("ab\0x", 4), "id1"}, {std::string("ab\0y", 4), std::string("id1\0", 4)},
                     {"abc", "id2"}});
    directory.mapTypes();
    const auto& groups = directory.typeGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].type, std::string("ab\0x", 4)) << "the group keeps its first entry's bytes";
    EXPECT_EQ(groups[0].memberCount(), 1) << "id1 and id1<NUL> are one id";
    EXPECT_EQ(owner.statuses[0], "Added New Object Type - ab");
    EXPECT_EQ(directory.findGroup("ab"), 0u);
    EXPECT_EQ(directory.findGroup(std::string("ab\0z", 4)), 0u);
    EXPECT_EQ(directory.findGroup("abc"), 1u);
    EXPECT_EQ(directory.findGroup("abcd"), std::nullopt);
}

TEST(TagDirectory, IdsOfTypeAreFourBytesEachInMemberOrder)
{
    TagDirectory directory;
    fill(directory, {{"mons", "abcd"}, {"mons", "ef"}, {"stli", "wxyz"}, {"mons", "abcd"}, {"mons", "ijkl"}});
    directory.mapTypes();
    EXPECT_EQ(directory.idsOfType("mons"), std::string("abcdef\0\0ijkl", 12));
    EXPECT_EQ(directory.idsOfType("stli"), "wxyz");
    EXPECT_EQ(directory.idsOfType("mesh"), "");
    EXPECT_EQ(directory.idsOfType("monsters"), "") << "a longer text names no four-byte type";
    EXPECT_EQ(directory.idsOfType(""), "");
}

TEST(TagDirectory, DumpMapListsTheSelectedGroups)
{
    TagDirectory directory;
    fill(directory, {{"mons", "abcd"}, {"stli", "wxyz"}, {"mons", "abcd"}, {"mons", "efgh"}});
    directory.mapTypes();
    const std::string mons = "\nKey: mons pointer = 1 Entries = 2\n\tObjects: abcd-0; efgh-3; ";
    const std::string stli = "\nKey: stli pointer = 2 Entries = 1\n\tObjects: wxyz-1; ";
    EXPECT_EQ(directory.dumpMapText(0), mons + stli);
    EXPECT_EQ(directory.dumpMapText(1), mons);
    EXPECT_EQ(directory.dumpMapText(2), stli);
    EXPECT_EQ(directory.dumpMapText(3), "");
    EXPECT_EQ(directory.dumpMapText(std::nullopt), "");
}

TEST(TagDirectory, DumpMapShowsCodesUpToTheirFirstNul)
{
    TagDirectory directory;
    fill(directory, {{std::string("ab\0x", 4), std::string("i\0zz", 4)}});
    directory.mapTypes();
    EXPECT_EQ(directory.dumpMapText(0), "\nKey: ab pointer = 1 Entries = 1\n\tObjects: i-0; ");
}

TEST(TagDirectory, EmptyAndClearedDirectoriesDumpNothing)
{
    TagDirectory directory;
    directory.mapTypes();
    EXPECT_EQ(directory.dumpMapText(0), "");

    fill(directory, {{"mons", "abcd"}, {"stli", "wxyz"}});
    directory.setDirectoryOffset(1234);
    directory.mapTypes();
    directory.clearAll();
    EXPECT_EQ(directory.entryCount(), 0u);
    EXPECT_TRUE(directory.typeGroups().empty());
    EXPECT_EQ(directory.dumpMapText(0), "");
    EXPECT_EQ(directory.idsOfType("mons"), "");
    EXPECT_EQ(directory.directoryOffset(), 1234u) << "clearing leaves the offset";
    EXPECT_THROW((void)directory.entryAt(0), std::out_of_range);
}

TEST(TagDirectory, AppendEntryFromFileReadsAtThePositionAndStopsAtTheEnd)
{
    const TagHeaderBytes header = makeHeader({"Name", "core", "cccc", 3, {}}, 64);
    Bytes content(header.begin(), header.end());
    content.insert(content.end(), header.begin(), header.begin() + 40);  // a header cut short
    const MemoryBytes file(content);

    TagDirectory directory;
    RecordingOwner owner(directory);
    directory.setObserver(&owner);
    EXPECT_TRUE(directory.appendEntry(file, 0));
    EXPECT_FALSE(directory.appendEntry(file, 64));
    ASSERT_EQ(directory.entryCount(), 1u);
    EXPECT_EQ(directory.entryAt(0).header(), header);
    EXPECT_EQ(owner.lines.size(), 1u) << "a failed read adds no line";
}

}  // namespace
}  // namespace tagwarden
