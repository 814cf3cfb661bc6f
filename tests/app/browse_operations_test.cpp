#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/item_properties.h"
#include "app/row_colour.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

class BrowseTest : public WizardTest {
protected:
    void SetUp() override {
        StartStandard();
        ToBrowse();
    }
};

TEST_F(BrowseTest, OpenCopiesTheFileToTheTemporaryFolderAndHandsItOver) {
    MarkRow("readme.txt");
    session.savingFlags.skip = 1;
    wizard->OnListDoubleClick();
    EXPECT_EQ(session.savingFlags.skip, 0);
    const std::string copy = desktop.temporaryFolder + "readme.txt";
    ASSERT_EQ(desktop.opened, std::vector<std::string>{copy});
    EXPECT_EQ(std::filesystem::file_size(copy), 5000u);
    EXPECT_TRUE(desktop.chooser.empty());

    wizard->OnCommand(Command::OpenWith);
    EXPECT_EQ(wizard->openWithFlag(), 1u);
    EXPECT_EQ(desktop.chooser, std::vector<std::string>{copy});
    EXPECT_EQ(desktop.opened.size(), 1u);
}

TEST_F(BrowseTest, OpenWithoutAnAssociatedProgramFallsBackToTheChooser) {
    desktop.unassociatedExtensions.insert(".txt");
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    EXPECT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.chooser, std::vector<std::string>{desktop.temporaryFolder + "readme.txt"});
}

TEST_F(BrowseTest, OpeningReplacesAnEarlierCopyOfTheSameName) {
    const std::string copy = desktop.temporaryFolder + "readme.txt";
    std::ofstream(copy) << std::string(90000, 'x');
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    EXPECT_EQ(std::filesystem::file_size(copy), 5000u);
}

TEST_F(BrowseTest, AnEmptyFileOpensNothing) {
    MarkRow("empty.txt");
    wizard->OnCommand(Command::Open);
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_TRUE(desktop.chooser.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(desktop.temporaryFolder + "empty.txt"));
}

TEST_F(BrowseTest, OpeningAFolderRowEntersIt) {
    MarkRow("Documents");
    wizard->OnCommand(Command::Open);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Report.doc", "Big.bin"}));
    EXPECT_EQ(view.tree(TreeKind::Directory).selected, view.findTreeItem(TreeKind::Directory, "Documents"));
    MarkRow("Report.doc");
    wizard->OnListDoubleClick();
    EXPECT_EQ(std::filesystem::file_size(desktop.temporaryFolder + "Report.doc"), 12345u);
}

TEST_F(BrowseTest, EnterOpensTheTreeFolderWhenTheTreeHasTheFocus) {
    view.SelectTreeItem(TreeKind::Directory, view.findTreeItem(TreeKind::Directory, "Pictures"));
    wizard->OnTreeFocused();
    EXPECT_EQ(wizard->FilterKey(Key::Enter), KeyAction::Consumed);
    EXPECT_TRUE(view.rows.empty()) << "Pictures holds nothing";
    view.SelectTreeItem(TreeKind::Directory, view.findTreeItem(TreeKind::Directory, "Documents"));
    wizard->FilterKey(Key::Enter);
    EXPECT_EQ(RowNames().size(), 2u);
    MarkRow("Big.bin");
    wizard->FilterKey(Key::Enter);
    EXPECT_EQ(desktop.opened, std::vector<std::string>{desktop.temporaryFolder + "Big.bin"});
}

TEST_F(BrowseTest, KeyboardRules) {
    EXPECT_EQ(wizard->FilterKey(Key::Escape), KeyAction::Consumed);
    EXPECT_EQ(wizard->FilterKey(Key::Other), KeyAction::Default);

    wizard->OnListFocused();
    EXPECT_EQ(wizard->FilterKey(Key::Tab), KeyAction::Consumed);
    EXPECT_EQ(view.focused, Element::DirectoryTree);
    EXPECT_EQ(session.wizard.treeHasFocus, 1);
    EXPECT_EQ(wizard->FilterKey(Key::Tab), KeyAction::Consumed);
    EXPECT_EQ(view.focused, Element::FileList);
    EXPECT_EQ(session.wizard.treeHasFocus, 0);

    MarkRow("readme.txt");
    EXPECT_EQ(wizard->FilterKey(Key::F2), KeyAction::Consumed);
    ASSERT_EQ(view.labelEdits.size(), 1u);
    EXPECT_EQ(view.labelEdits[0], (std::pair<int, size_t>{RowNamed("readme.txt"), 255u}));
    EXPECT_EQ(session.wizard.labelEditing, 1);
    EXPECT_EQ(wizard->FilterKey(Key::Tab), KeyAction::ToEditField);
    EXPECT_EQ(wizard->FilterKey(Key::Enter), KeyAction::ToEditField);
    wizard->FilterKey(Key::F2);
    EXPECT_EQ(view.labelEdits.size(), 1u) << "no second edit while one runs";
    wizard->EndRename(std::nullopt);
    EXPECT_EQ(session.wizard.labelEditing, 0);
    EXPECT_TRUE(desktop.opened.empty()) << "Enter went to the edit field";
}

TEST_F(WizardTest, KeysOutsideTheBrowseStep) {
    StartStandard();
    EXPECT_EQ(wizard->FilterKey(Key::Tab), KeyAction::Default);
    EXPECT_EQ(wizard->FilterKey(Key::Enter), KeyAction::Consumed);
    EXPECT_EQ(wizard->FilterKey(Key::Escape), KeyAction::Consumed);
    EXPECT_EQ(wizard->FilterKey(Key::F2), KeyAction::Consumed);
    EXPECT_TRUE(view.labelEdits.empty());
    EXPECT_EQ(wizard->FilterKey(Key::F1), KeyAction::Consumed);
    EXPECT_EQ(Messages(), std::vector<std::string>{" Corvalt Lumbra Novell NSS.chm not found"});
    ToPools();
    wizard->FilterKey(Key::F1);
    EXPECT_EQ(view.messages.size(), 2u) << "F1 in every step";
}

TEST_F(BrowseTest, RenamingAFileRenamesItsRecord) {
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Rename);
    wizard->EndRename(std::string("notes.txt"));
    EXPECT_NE(RowNamed("notes.txt"), -1);
    EXPECT_EQ(session.records.files()[2].name, "notes.txt");
}

TEST_F(BrowseTest, RenamingToAnEmptyOrOverlongTextKeepsTheOldName) {
    MarkRow("readme.txt");
    wizard->BeginRename();
    wizard->EndRename(std::string());
    EXPECT_NE(RowNamed("readme.txt"), -1);
    wizard->BeginRename();
    wizard->EndRename(std::string(256, 'n'));
    EXPECT_NE(RowNamed("readme.txt"), -1);
    EXPECT_EQ(session.records.files()[2].name, "readme.txt");
    wizard->BeginRename();
    wizard->EndRename(std::string(255, 'n'));
    EXPECT_EQ(session.records.files()[2].name, std::string(255, 'n'));
}

TEST_F(BrowseTest, RenamingAFolderRenamesItsTreeItem) {
    MarkRow("Pictures");
    EXPECT_TRUE(wizard->OnListEditStarting(view.selectionMark));
    wizard->EndRename(std::string("Photos"));
    EXPECT_EQ(view.treeChildren(TreeKind::Directory), (std::vector<std::string>{"Documents", "Photos"}));
    EXPECT_EQ(session.records.folders()[1].name, "Photos");
}

TEST_F(BrowseTest, NoRenameWhileTheTreeHasTheFocus) {
    view.selectionMark = 0;
    wizard->OnTreeFocused();
    wizard->OnCommand(Command::Rename);
    EXPECT_FALSE(wizard->OnListEditStarting(0));
    EXPECT_TRUE(view.labelEdits.empty());
    EXPECT_EQ(session.wizard.labelEditing, 0);
}

TEST_F(BrowseTest, PropertiesOfAFileAndOfAFolder) {
    ClickTree(TreeKind::Directory, "Documents");
    MarkRow("Big.bin");
    wizard->OnCommand(Command::Properties);
    ASSERT_EQ(view.properties.size(), 1u);
    const auto& file = view.properties[0].rows;
    ASSERT_EQ(file.size(), 7u);
    EXPECT_EQ(file[0].caption, "Name :");
    EXPECT_EQ(file[0].value, "Big.bin");
    EXPECT_EQ(file[1].caption, "Size                            :");
    EXPECT_EQ(file[1].value, "1025 KB");
    EXPECT_EQ(file[2].caption, "Contains                     :");
    EXPECT_EQ(file[2].value, "");
    EXPECT_EQ(file[3].caption, "Creation Date              :");
    EXPECT_EQ(file[3].value, view.rows[static_cast<size_t>(view.selectionMark)].date);
    EXPECT_EQ(file[4].caption, "Creation Time              :");
    EXPECT_EQ(file[5].caption, "First Sector                :");
    EXPECT_FALSE(file[5].value.empty());
    // A disk without a rescue map: the file's data has not been read in this session.
    EXPECT_EQ(file[6].caption, "Condition                    :");
    EXPECT_EQ(file[6].value, "not read yet");

    ClickTree(TreeKind::Directory, "DATA");
    MarkRow("Documents");
    wizard->OnCommand(Command::Properties);
    EXPECT_EQ(view.properties[1].rows[2].value, "2 File(s) and 0 Folder(s)");
    EXPECT_EQ(view.properties[1].rows[1].value, "1 MB");
    MarkRow("Pictures");
    wizard->OnCommand(Command::Properties);
    EXPECT_EQ(view.properties[2].rows[2].value, "0 File(s) and 0 Folder(s)");
    EXPECT_EQ(view.properties[2].rows[1].value, "Less than 1 MB");

    view.selectionMark = -1;
    wizard->OnCommand(Command::Properties);
    EXPECT_EQ(view.properties.size(), 3u);
}

TEST(ItemPropertiesRules, FileSizesInKilobytesPlusOne) {
    RecoveredTree none;
    ItemRow row{.kind = ItemRow::Kind::File, .name = "a", .type = "A File", .size = "0"};
    EXPECT_EQ(ItemProperties(row, none).rows[1].value, "1 KB");
    row.size = "1024";
    EXPECT_EQ(ItemProperties(row, none).rows[1].value, "2 KB");
    row.size = "1048576";
    EXPECT_EQ(ItemProperties(row, none).rows[1].value, "1025 KB");
}

TEST(ItemPropertiesRules, NestedFoldersCountBelowTheRow) {
    RecoveredTree tree;
    tree.AddFolderRecord("A", 10, 0, 0, 0);
    tree.AddFolderRecord("B", 11, 10, 1, 0);
    tree.AddFolderRecord("C", 12, 11, 2, 0);
    tree.AddFileRecord("f", 20, 12, 0, 5, 1, 3 * 1024 * 1024, 0);
    tree.AddFileRecord("g", 21, 10, 1, 6, 1, 10, 0);
    tree.SetFolderTreeItem(0, 100);
    tree.SetFolderTreeItem(1, 101);
    tree.SetFolderTreeItem(2, 102);
    ItemRow row{.kind = ItemRow::Kind::Folder, .name = "A", .type = "Folder", .size = "0", .key = "100"};
    const PropertiesValues values = ItemProperties(row, tree);
    EXPECT_EQ(values.rows[2].value, "2 File(s) and 2 Folder(s)");
    EXPECT_EQ(values.rows[1].value, "3 MB");
}

TEST(RowColours, TypeBeginningsChooseTheColourCaseSensitively) {
    EXPECT_EQ(ListRowColour("Deleted File"), kDeletedRowColour);
    EXPECT_EQ(ListRowColour("Deleted Compressed File"), kDeletedRowColour);
    EXPECT_EQ(ListRowColour("Compressed (zipped) Folder"), kCompressedRowColour);
    EXPECT_EQ(ListRowColour("compressed (zipped) Folder"), kPlainRowColour);
    EXPECT_EQ(ListRowColour("Folder"), kPlainRowColour);
    EXPECT_EQ(ListRowColour("Deleted"), kPlainRowColour);
    EXPECT_EQ(kDeletedRowColour, (RowColour{150, 150, 150}));
    EXPECT_EQ(kCompressedRowColour, (RowColour{255, 0, 0}));
}

// A double-click on a Find row opens that file's folder and selects its row.
TEST_F(BrowseTest, AFileChosenInFindIsSelectedInItsFolder) {
    const ItemRecord* report = nullptr;
    for (const ItemRecord& file : session.records.files())
        if (file.name == "Report.doc") report = &file;
    ASSERT_NE(report, nullptr);
    view.findAnswer = report->itemNumber;
    session.savingFlags.stopSaving = 1;
    wizard->OnCommand(Command::FindFiles);
    EXPECT_EQ(view.findWindows, 1);
    const uint32_t documents = view.findTreeItem(TreeKind::Directory, "Documents");
    EXPECT_EQ(view.tree(TreeKind::Directory).selected, documents);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Report.doc", "Big.bin"}));
    EXPECT_EQ(view.selectionMark, RowNamed("Report.doc"));
    EXPECT_EQ(view.selectedRows, std::vector<int>{RowNamed("Report.doc")});
    EXPECT_EQ(session.wizard.treeHasFocus, 0);
    EXPECT_EQ(session.savingFlags.stopSaving.load(), 0);

    // A file of the root, reached from another folder.
    for (const ItemRecord& file : session.records.files())
        if (file.name == "readme.txt") view.findAnswer = file.itemNumber;
    wizard->OnCommand(Command::FindFiles);
    EXPECT_EQ(view.tree(TreeKind::Directory).selected, view.tree(TreeKind::Directory).root);
    EXPECT_EQ(view.selectionMark, RowNamed("readme.txt"));
    ASSERT_GE(view.selectionMark, 0);
}

TEST_F(BrowseTest, FindClosedWithoutAChoiceLeavesTheBrowseViewAsItWas) {
    MarkRow("readme.txt");
    const std::vector<std::string> before = RowNames();
    wizard->OnCommand(Command::FindFiles);
    EXPECT_EQ(RowNames(), before);
    EXPECT_EQ(view.selectionMark, RowNamed("readme.txt"));
    view.findAnswer = 999999;  // no such file
    wizard->OnCommand(Command::FindFiles);
    EXPECT_EQ(RowNames(), before);
}

}  // namespace
}  // namespace lumbra::test
