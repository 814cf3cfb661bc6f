#include "recovery/folder_browse.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "recovery/recording_views.h"

namespace lumbra {
namespace {

using test::RecordingListView;
using test::RecordingTreeView;
using Strings = std::vector<std::string>;

constexpr uint32_t kRoot = RecordingTreeView::kRoot;

class FolderBrowse : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void AddFolder(const char* name, uint64_t id, uint64_t parent) {
        if (tree.AddFolderRecord(name, id, parent, tree.folderCounter, 1078477651)) ++tree.folderCounter;
    }
    void AddFile(const char* name, uint64_t parent, int64_t size = 10) {
        tree.AddFileRecord(name, 9000 + tree.fileCounter, parent, tree.fileCounter, 0,
                           static_cast<uint32_t>((size + 4095) / 4096), size, 1078477651);
        ++tree.fileCounter;
    }
    uint32_t ItemOf(uint64_t objectId) const { return tree.FindFolderByObjectId(objectId)->treeItem; }

    RecoveredTree tree;
    RecordingTreeView view;
    RecordingListView list;
};

TEST_F(FolderBrowse, TreeHoldsSubtreesInAdmissionOrder) {
    AddFolder("B", 20, 0);
    AddFolder("B1", 21, 20);
    AddFolder("A", 10, 0);
    AddFolder("B2", 22, 20);
    AddFolder("A1", 11, 10);
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_EQ(view.childTexts(kRoot), (Strings{"B", "A"}));
    EXPECT_EQ(view.childTexts(ItemOf(20)), (Strings{"B1", "B2"}));
    EXPECT_EQ(view.childTexts(ItemOf(10)), (Strings{"A1"}));
    EXPECT_TRUE(view.rootExpanded);
    EXPECT_EQ(tree.treeInsertCounter, 5u);
    // Depth first: each folder's subtree is inserted before its next sibling.
    EXPECT_LT(ItemOf(22), ItemOf(10));
    EXPECT_EQ(tree.FindFolderByTreeItem(ItemOf(11))->name, "A1");
}

// The damage mark goes with each folder the test names, whatever its place in the tree.
TEST_F(FolderBrowse, FoldersTheTestNamesCarryTheDamageMark) {
    AddFolder("B", 20, 0);
    AddFolder("B1", 21, 20);
    AddFolder("A", 10, 0);
    AddFolder("A1", 11, 10);
    BuildFolderTree(tree, view, kRoot, 0, nullptr, [](const ItemRecord& folder) { return folder.name.ends_with('1'); });
    EXPECT_FALSE(view.items.at(ItemOf(20)).damaged);
    EXPECT_TRUE(view.items.at(ItemOf(21)).damaged);
    EXPECT_FALSE(view.items.at(ItemOf(10)).damaged);
    EXPECT_TRUE(view.items.at(ItemOf(11)).damaged);
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_FALSE(view.items.at(ItemOf(21)).damaged) << "no test, no mark";
}

TEST_F(FolderBrowse, TheViewReceivesTheWholeTreeAsOneBatch) {
    for (uint64_t id = 1; id <= 50; ++id) AddFolder(("F" + std::to_string(id)).c_str(), id, id / 2);
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_EQ(view.batches, 1);
    EXPECT_EQ(view.items.size(), 50u);
    EXPECT_EQ(view.childTexts(ItemOf(3)), (Strings{"F6", "F7"}));
}

TEST_F(FolderBrowse, AStopEndsTheWalkWithTheFoldersWalkedSoFar) {
    for (uint64_t id = 1; id <= 10; ++id) AddFolder(("F" + std::to_string(id)).c_str(), id, 0);
    std::atomic<int32_t> stop{0};
    view.onProgress = [&](uint32_t percent) {
        if (percent >= 30) stop = 1;
    };
    BuildFolderTree(tree, view, kRoot, 0, &stop);
    EXPECT_EQ(view.childTexts(kRoot), (Strings{"F1", "F2", "F3"}));
    EXPECT_NE(ItemOf(3), 0u);
    EXPECT_EQ(ItemOf(4), 0u);
    EXPECT_TRUE(view.rootExpanded);
}

TEST_F(FolderBrowse, AStopAskedBeforeTheBuildLeavesOnlyTheRoot) {
    AddFolder("A", 10, 0);
    std::atomic<int32_t> stop{1};
    BuildFolderTree(tree, view, kRoot, 0, &stop);
    EXPECT_TRUE(view.items.empty());
    EXPECT_EQ(ItemOf(10), 0u);
    stop = 0;
    BuildFolderTree(tree, view, kRoot, 0, &stop);
    EXPECT_EQ(view.childTexts(kRoot), (Strings{"A"}));
}

TEST_F(FolderBrowse, FolderWithHighHalfInParentNeverAppears) {
    AddFolder("TOP", 5, 0);
    AddFolder("HIGH", 6, 0x100000005ull);
    AddFolder("ORPHAN", 7, 999);
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_EQ(view.items.size(), 1u);
    EXPECT_EQ(tree.FindFolderByObjectId(6)->treeItem, 0u);
    EXPECT_EQ(tree.FindFolderByObjectId(7)->treeItem, 0u);
}

TEST_F(FolderBrowse, EmptyFolderListBuildsOnlyTheRoot) {
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_TRUE(view.items.empty());
    EXPECT_TRUE(view.rootExpanded);
    EXPECT_EQ(view.progressSeen, (std::vector<uint32_t>{0}));
    EXPECT_EQ(tree.folderCounter, 0u);
}

TEST_F(FolderBrowse, ProgressStaysBelowHundred) {
    for (uint64_t id = 1; id <= 10; ++id) AddFolder("F", id, 0);
    BuildFolderTree(tree, view, kRoot, 0);
    ASSERT_FALSE(view.progressSeen.empty());
    EXPECT_EQ(view.progressSeen.front(), 0u);
    EXPECT_EQ(view.progressSeen.back(), 99u);
}

TEST_F(FolderBrowse, FolderIdsSharingLowHalvesCannotLoopTheBuild) {
    // 0x100000005 and 5 share their low half: read literally, folder 0x100000005 would be its
    // own child. Each folder is inserted once.
    AddFolder("A", 5, 0);
    AddFolder("B", 0x100000005ull, 5);
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_EQ(view.items.size(), 2u);
    EXPECT_EQ(view.childTexts(ItemOf(5)), (Strings{"B"}));
}

TEST_F(FolderBrowse, DeepChainOfFoldersIsBuilt) {
    constexpr uint64_t kDepth = 50'000;
    for (uint64_t id = 1; id <= kDepth; ++id) AddFolder("D", id, id - 1);
    BuildFolderTree(tree, view, kRoot, 0);
    EXPECT_EQ(view.items.size(), kDepth);
    EXPECT_EQ(view.parentItem(ItemOf(kDepth)), ItemOf(kDepth - 1));
}

TEST_F(FolderBrowse, ListHasFolderRowsBeforeFileRows) {
    AddFile("FIRST.TXT", 0);
    AddFolder("DOCS", 10, 0);
    AddFile("SECOND", 0, -1);
    AddFolder("PICS", 11, 0);
    AddFile("ELSEWHERE.TXT", 10);
    BuildFolderTree(tree, view, kRoot, 0);
    FillItemList(tree, list, 0, {});
    EXPECT_EQ(list.names(), (Strings{"DOCS", "PICS", "FIRST.TXT", "SECOND"}));
    const ItemRow& folder = list.rows[0];
    EXPECT_EQ(folder.kind, ItemRow::Kind::Folder);
    EXPECT_EQ(folder.type, "Folder");
    EXPECT_EQ(folder.size, "0");
    EXPECT_EQ(folder.date, "05-Mar-2004");
    EXPECT_EQ(folder.time, "09:07:31");
    EXPECT_EQ(folder.key, std::to_string(ItemOf(10)));
    const ItemRow& file = list.rows[2];
    EXPECT_EQ(file.kind, ItemRow::Kind::File);
    EXPECT_EQ(file.type, "TXT File");
    EXPECT_EQ(file.size, "10");
    EXPECT_EQ(file.key, "0");
    EXPECT_EQ(list.rows[3].type, "");
    EXPECT_EQ(list.rows[3].size, "-1");
    EXPECT_EQ(list.rows[3].key, "1");
}

TEST_F(FolderBrowse, ParentIdIsComparedInFull) {
    AddFolder("LOW", 10, 5);
    AddFolder("HIGH", 11, 0x100000005ull);
    AddFile("HIGH.TXT", 0x100000005ull);
    FillItemList(tree, list, 0x100000005ull, {});
    EXPECT_EQ(list.names(), (Strings{"HIGH", "HIGH.TXT"}));
}

TEST_F(FolderBrowse, FiltersHideFileRowsButNeverFolderRows) {
    AddFolder("notes", 10, 0);
    AddFile("report.doc", 0);
    AddFile("image.png", 0);
    AddFile("budget.xls", 0);
    FillItemList(tree, list, 0, {"*.doc", "*.XLS"});
    EXPECT_EQ(list.names(), (Strings{"notes", "report.doc", "budget.xls"}));
    FillItemList(tree, list, 0, {"nothing"});
    EXPECT_EQ(list.names(), (Strings{"notes"}));
    EXPECT_EQ(list.clears, 2);
}

TEST_F(FolderBrowse, ShowFolderListsItsContentsAndOpensItsAncestors) {
    AddFolder("A", 10, 0);
    AddFolder("B", 11, 10);
    AddFolder("C", 12, 11);
    AddFile("IN-C.TXT", 12);
    AddFile("AT-ROOT.TXT", 0);
    BuildFolderTree(tree, view, kRoot, 0);
    ShowFolder(tree, view, list, ItemOf(12), {});
    EXPECT_EQ(list.names(), (Strings{"IN-C.TXT"}));
    EXPECT_TRUE(view.focused);
    EXPECT_EQ(view.selected, ItemOf(12));
    EXPECT_TRUE(view.items[ItemOf(11)].expanded);
    EXPECT_TRUE(view.items[ItemOf(10)].expanded);
    EXPECT_FALSE(view.items[ItemOf(12)].expanded);
}

TEST_F(FolderBrowse, ShowFolderOfTheRootItemListsTheRoot) {
    AddFolder("A", 10, 0);
    AddFile("AT-ROOT.TXT", 0);
    BuildFolderTree(tree, view, kRoot, 0);
    ShowFolder(tree, view, list, kRoot, {});
    EXPECT_EQ(list.names(), (Strings{"A", "AT-ROOT.TXT"}));
    EXPECT_EQ(view.selected, kRoot);
}

TEST_F(FolderBrowse, RowKeysLeadBackToTheirRecords) {
    AddFolder("A", 10, 0);
    AddFile("X", 0);
    AddFile("Y", 0);
    BuildFolderTree(tree, view, kRoot, 0);
    FillItemList(tree, list, 0, {});
    EXPECT_EQ(tree.FindFolderByTreeItem(static_cast<uint32_t>(std::stoul(list.rows[0].key)))->name, "A");
    EXPECT_EQ(tree.FindFileByItemNumber(std::stoull(list.rows[2].key))->name, "Y");
}

}  // namespace
}  // namespace lumbra
