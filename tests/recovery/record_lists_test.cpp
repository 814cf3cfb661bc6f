#include "recovery/record_lists.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

TEST(RecordLists, FolderOfferedTwiceIsKeptOnceTheFirst) {
    RecoveredTree tree;
    EXPECT_TRUE(tree.AddFolderRecord("FIRST", 50, 0, 0, 10));
    EXPECT_FALSE(tree.AddFolderRecord("SECOND", 50, 7, 1, 20));
    ASSERT_EQ(tree.folders().size(), 1u);
    EXPECT_EQ(tree.folders()[0].name, "FIRST");
    EXPECT_EQ(tree.folders()[0].parentId, 0u);
}

TEST(RecordLists, DuplicateTestComparesAll64Bits) {
    RecoveredTree tree;
    EXPECT_TRUE(tree.AddFolderRecord("LOW", 5, 0, 0, 0));
    EXPECT_TRUE(tree.AddFolderRecord("HIGH", 0x100000005ull, 0, 1, 0));
    EXPECT_EQ(tree.folders().size(), 2u);
}

TEST(RecordLists, FolderWithObjectIdZeroIsNeverAdmitted) {
    RecoveredTree tree;
    EXPECT_FALSE(tree.AddFolderRecord("ZERO", 0, 0, 0, 0));
    EXPECT_TRUE(tree.folders().empty());
    EXPECT_EQ(tree.FolderChildren(0).size(), 0u);
}

TEST(RecordLists, FileOfferedTwiceIsListedTwice) {
    RecoveredTree tree;
    tree.AddFileRecord("A.TXT", 9, 0, 0, 100, 1, 10, 5);
    tree.AddFileRecord("A.TXT", 9, 0, 1, 100, 1, 10, 5);
    ASSERT_EQ(tree.files().size(), 2u);
    EXPECT_EQ(tree.FileChildren(0).size(), 2u);
}

TEST(RecordLists, AdmittedRecordsCarryTheirFields) {
    RecoveredTree tree;
    tree.AddFolderRecord("DOCS", 77, 0, 0, 1234);
    tree.AddFileRecord("R.DOC", 88, 77, 0, 4000, 3, 9000, 4321);
    const ItemRecord& folder = tree.folders()[0];
    EXPECT_EQ(folder.firstBlock, 0u);
    EXPECT_EQ(folder.blockCount, 0u);
    EXPECT_EQ(folder.size, 0);
    EXPECT_EQ(folder.treeItem, 0u);
    EXPECT_EQ(folder.timeStamp, 1234u);
    const ItemRecord& file = tree.files()[0];
    EXPECT_EQ(file.objectId, 88u);
    EXPECT_EQ(file.parentId, 77u);
    EXPECT_EQ(file.firstBlock, 4000u);
    EXPECT_EQ(file.blockCount, 3u);
    EXPECT_EQ(file.size, 9000);
    EXPECT_EQ(file.treeItem, 0u);
}

TEST(RecordLists, NamesAreCutTo255Bytes) {
    RecoveredTree tree;
    tree.AddFolderRecord(std::string(300, 'F'), 1, 0, 0, 0);
    tree.AddFileRecord(std::string(256, 'x'), 2, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(tree.folders()[0].name.size(), 255u);
    EXPECT_EQ(tree.files()[0].name.size(), 255u);
}

TEST(RecordLists, FindsFileByItemNumberAlsoWhenNumbersSkip) {
    RecoveredTree tree;
    tree.AddFileRecord("A", 1, 0, 0, 0, 0, 0, 0);
    tree.AddFileRecord("B", 2, 0, 1, 0, 0, 0, 0);
    ASSERT_NE(tree.FindFileByItemNumber(1), nullptr);
    EXPECT_EQ(tree.FindFileByItemNumber(1)->name, "B");
    tree.AddFileRecord("C", 3, 0, 5, 0, 0, 0, 0);  // numbered apart from its position
    tree.AddFileRecord("D", 4, 0, 5, 0, 0, 0, 0);
    EXPECT_EQ(tree.FindFileByItemNumber(0)->name, "A");
    EXPECT_EQ(tree.FindFileByItemNumber(5)->name, "C");  // the first of the two
    EXPECT_EQ(tree.FindFileByItemNumber(2), nullptr);
    EXPECT_EQ(tree.FindFileByItemNumber(0x100000000ull), nullptr);
}

TEST(RecordLists, FindsFolderByTreeItemOnlyOnceTheTreeIsBuilt) {
    RecoveredTree tree;
    tree.AddFolderRecord("A", 10, 0, 0, 0);
    tree.AddFolderRecord("B", 11, 0, 1, 0);
    EXPECT_EQ(tree.FindFolderByTreeItem(0), nullptr);
    tree.SetFolderTreeItem(1, 42);
    ASSERT_NE(tree.FindFolderByTreeItem(42), nullptr);
    EXPECT_EQ(tree.FindFolderByTreeItem(42)->name, "B");
    EXPECT_EQ(tree.FindFolderByTreeItem(43), nullptr);
}

TEST(RecordLists, ClearRecordsEmptiesListsIndexesAndCounters) {
    RecoveredTree tree;
    tree.AddFolderRecord("A", 10, 0, 0, 0);
    tree.AddFileRecord("F", 20, 10, 0, 0, 0, 0, 0);
    tree.SetFolderTreeItem(0, 7);
    tree.folderCounter = 1;
    tree.fileCounter = 1;
    tree.treeInsertCounter = 1;
    tree.ClearRecords();
    EXPECT_TRUE(tree.folders().empty());
    EXPECT_TRUE(tree.files().empty());
    EXPECT_EQ(tree.folderCounter, 0u);
    EXPECT_EQ(tree.fileCounter, 0u);
    EXPECT_EQ(tree.treeInsertCounter, 0u);
    EXPECT_FALSE(tree.HasFolder(10));
    EXPECT_EQ(tree.FindFolderByTreeItem(7), nullptr);
    EXPECT_EQ(tree.FindFileByItemNumber(0), nullptr);
    EXPECT_TRUE(tree.FileChildren(10).empty());
    EXPECT_TRUE(tree.AddFolderRecord("A", 10, 0, 0, 0));
}

TEST(RecordLists, RenameChangesOnlyTheName) {
    RecoveredTree tree;
    tree.AddFolderRecord("OLD", 10, 0, 0, 0);
    tree.AddFileRecord("OLD.TXT", 20, 10, 0, 0, 0, 0, 0);
    tree.RenameFolder(0, "NEW");
    tree.RenameFile(0, "NEW.TXT");
    EXPECT_EQ(tree.FindFolderByObjectId(10)->name, "NEW");
    EXPECT_EQ(tree.FindFileByItemNumber(0)->name, "NEW.TXT");
}

}  // namespace
}  // namespace lumbra
