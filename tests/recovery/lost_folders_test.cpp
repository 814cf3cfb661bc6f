#include "recovery/lost_folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumbra {
namespace {

class RecordingEvents : public NoMountEvents {
public:
    void statusLine(std::string_view text) override { status.emplace_back(text); }
    void progress(uint32_t percent) override { percents.push_back(percent); }
    std::vector<std::string> status;
    std::vector<uint32_t> percents;
};

class LostFolders : public testing::Test {
protected:
    void AddFolder(const char* name, uint64_t id, uint64_t parent) {
        ASSERT_TRUE(tree.AddFolderRecord(name, id, parent, tree.folderCounter, 100));
        ++tree.folderCounter;
    }
    RecoveredTree tree;
    RecordingEvents events;
    std::atomic<int32_t> stop{0};
};

TEST_F(LostFolders, FoldersSharingAMissingParentGetOneInventedFolder) {
    AddFolder("A", 10, 500);
    AddFolder("B", 11, 500);
    SearchLostFolders(tree, events, stop);
    ASSERT_EQ(tree.folders().size(), 3u);
    const ItemRecord& invented = tree.folders()[2];
    EXPECT_EQ(invented.name, "Dir0");
    EXPECT_EQ(invented.objectId, 500u);
    EXPECT_EQ(invented.parentId, 0u);
    EXPECT_EQ(invented.itemNumber, 2u);
    EXPECT_EQ(invented.timeStamp, 0u);
    EXPECT_EQ(tree.folderCounter, 3u);
}

TEST_F(LostFolders, InventedFoldersAreNumberedInListOrder) {
    AddFolder("ROOTED", 10, 0);
    AddFolder("A", 11, 700);
    AddFolder("UNDER-ROOTED", 12, 10);
    AddFolder("B", 13, 0x100000000ull + 600);
    SearchLostFolders(tree, events, stop);
    ASSERT_EQ(tree.folders().size(), 6u);
    EXPECT_EQ(tree.folders()[4].name, "Dir0");
    EXPECT_EQ(tree.folders()[4].objectId, 700u);
    EXPECT_EQ(tree.folders()[5].name, "Dir1");
    EXPECT_EQ(tree.folders()[5].objectId, 0x100000000ull + 600);
    EXPECT_EQ(events.status, (std::vector<std::string>{"Searching Lost Data ..."}));
    EXPECT_EQ(events.percents.front(), 0u);
    for (uint32_t percent : events.percents) EXPECT_LE(percent, 99u);
}

TEST_F(LostFolders, NothingIsInventedWhenEveryParentIsKnown) {
    AddFolder("A", 10, 0);
    AddFolder("B", 11, 10);
    SearchLostFolders(tree, events, stop);
    EXPECT_EQ(tree.folders().size(), 2u);
    EXPECT_EQ(tree.folderCounter, 2u);
}

TEST_F(LostFolders, EmptyListReportsAndEnds) {
    SearchLostFolders(tree, events, stop);
    EXPECT_TRUE(tree.folders().empty());
    EXPECT_EQ(events.percents, (std::vector<uint32_t>{0}));
}

TEST_F(LostFolders, StopEndsTheSearch) {
    AddFolder("A", 10, 500);
    stop = 1;
    SearchLostFolders(tree, events, stop);
    EXPECT_EQ(tree.folders().size(), 1u);
}

}  // namespace
}  // namespace lumbra
