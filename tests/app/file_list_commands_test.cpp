// "Export File List..." writes the current folder, the selection or the whole volume; "Select
// From List..." selects the files a list names, so that Recover Selected takes them.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_table.h"
#include "support/whole_file.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

class FileListCommands : public WizardTest {
protected:
    void SetUp() override {
        StartStandard();
        ToBrowse();
    }
    std::string Export(FileListScope scope, FileListFormat format, const std::string& name) {
        view.exportChoice = FileListExportChoice{scope, format, scratch.file(name)};
        wizard->OnCommand(Command::ExportFileList);
        const auto bytes = ReadWholeFile(scratch.file(name));
        return std::string(bytes.begin(), bytes.end());
    }
    static size_t Lines(const std::string& csv) { return static_cast<size_t>(std::count(csv.begin(), csv.end(), '\n')); }
};

TEST_F(FileListCommands, BothCommandsBelongToTheBrowseStep) {
    EXPECT_TRUE(wizard->CommandEnabled(Command::ExportFileList));
    EXPECT_TRUE(wizard->CommandEnabled(Command::SelectFromList));
    EXPECT_EQ(FindCommand(Command::ExportFileList)->text, "Export File List...");
    EXPECT_EQ(FindCommand(Command::SelectFromList)->text, "Select From List...");
    wizard->OnBack();
    EXPECT_FALSE(wizard->CommandEnabled(Command::ExportFileList));
    EXPECT_FALSE(wizard->CommandEnabled(Command::SelectFromList));
}

TEST_F(FileListCommands, ExportsTheFolderTheSelectionOrTheVolume) {
    // The root shows Documents, Pictures, readme.txt and empty.txt.
    const std::string folder = Export(FileListScope::CurrentFolder, FileListFormat::Csv, "folder.csv");
    EXPECT_EQ(Lines(folder), 1u + 4u) << folder;
    EXPECT_NE(folder.find("\\Documents\\Big.bin,1048576,"), std::string::npos) << folder;
    EXPECT_NE(folder.find("\\readme.txt,5000,"), std::string::npos) << folder;
    EXPECT_EQ(view.exportSelectionOffered.back(), false);

    view.selectedRows = {RowNamed("readme.txt")};
    const std::string selected = Export(FileListScope::Selection, FileListFormat::Json, "selected.json");
    EXPECT_EQ(view.exportSelectionOffered.back(), true);
    EXPECT_EQ(selected.rfind("{\n \"format\": 1,", 0), 0u) << selected;
    EXPECT_NE(selected.find("\"path\": \"\\\\readme.txt\""), std::string::npos) << selected;
    EXPECT_EQ(selected.find("Big.bin"), std::string::npos);
    EXPECT_NE(selected.find("\"condition\": \"not read yet\""), std::string::npos);

    ClickTree(TreeKind::Directory, "Documents");
    const std::string volume = Export(FileListScope::WholeVolume, FileListFormat::Csv, "volume.csv");
    EXPECT_EQ(Lines(volume), 1u + session.records.files().size());
    EXPECT_EQ(Messages().back(), std::to_string(session.records.files().size()) + " file(s) listed in " +
                                     scratch.file("volume.csv") + ".");
}

TEST_F(FileListCommands, ExportNeverWritesOverWhatTheRunReads) {
    const std::string image = session.disk.driveTable().rows[0].path;
    const auto before = ReadWholeFile(image);
    view.exportChoice = FileListExportChoice{FileListScope::WholeVolume, FileListFormat::Csv, image};
    wizard->OnCommand(Command::ExportFileList);
    EXPECT_EQ(view.messages.back().kind, MessageKind::Error);
    EXPECT_TRUE(ReadWholeFile(image) == before);
}

TEST_F(FileListCommands, SelectFromListSelectsTheFilesForRecoverSelected) {
    WriteWholeFile(scratch.file("list.txt"), "Documents/Report.doc\n\\readme.txt\n\\Documents\\gone.txt\n");
    view.listToSelect = scratch.file("list.txt");
    wizard->OnCommand(Command::SelectFromList);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Report.doc", "readme.txt"}));
    EXPECT_EQ(view.selectedRows, (std::vector<int>{0, 1}));
    EXPECT_EQ(Messages().back(), "2 file(s) of the list selected. Not found (1):\r\n\\Documents\\gone.txt");
    EXPECT_EQ(view.messages.back().kind, MessageKind::Error);

    std::filesystem::create_directory(scratch.file("out"));
    view.destinationAnswers = {scratch.file("out")};
    wizard->OnCommand(Command::RecoverSelected);
    ASSERT_EQ(view.savings.size(), 1u);
    std::vector<std::string> names;
    for (size_t index : view.savings[0].fileIndexes) names.push_back(session.records.files()[index].name);
    EXPECT_EQ(names, (std::vector<std::string>{"Report.doc", "readme.txt"}));
    EXPECT_TRUE(view.savings[0].folderIndexes.empty());
}

TEST_F(FileListCommands, TheExportReadsBackAsAListInEitherForm) {
    for (const char* name : {"all.json", "all.csv"}) {
        Export(FileListScope::WholeVolume, std::string(name).ends_with("json") ? FileListFormat::Json : FileListFormat::Csv,
               name);
        view.listToSelect = scratch.file(name);
        view.selectedRows.clear();
        wizard->OnCommand(Command::SelectFromList);
        EXPECT_EQ(view.selectedRows.size(), session.records.files().size()) << name;
        EXPECT_EQ(view.messages.back().kind, MessageKind::Information) << Messages().back();
    }
}

TEST_F(FileListCommands, AListThatNamesNoFileLeavesTheFolderShown) {
    WriteWholeFile(scratch.file("none.txt"), "\\nothing.txt\n");
    view.listToSelect = scratch.file("none.txt");
    const auto rows = RowNames();
    wizard->OnCommand(Command::SelectFromList);
    EXPECT_EQ(Messages().back(), "0 file(s) of the list selected. Not found (1):\r\n\\nothing.txt");
    EXPECT_EQ(RowNames(), rows);
}

TEST_F(FileListCommands, WhatIsNoListIsToldAndChangesNothing) {
    WriteWholeFile(scratch.file("bad.json"), "{\"files\":3}");
    view.listToSelect = scratch.file("bad.json");
    const auto rows = RowNames();
    wizard->OnCommand(Command::SelectFromList);
    EXPECT_EQ(Messages().back(), scratch.file("bad.json") + " is not a file list: it has no \"files\" or \"matches\" list.");
    EXPECT_EQ(RowNames(), rows);
    view.listToSelect = scratch.file("missing.txt");
    wizard->OnCommand(Command::SelectFromList);
    EXPECT_EQ(Messages().back(), scratch.file("missing.txt") + " cannot be read.");
}

}  // namespace
}  // namespace lumbra::test
