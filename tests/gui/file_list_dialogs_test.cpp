// "Export File List..." through its dialog and the save dialog, and "Select From List..." through
// the open dialog, on the demo disk in the real main window.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFileDialog>
#include <QRadioButton>
#include <QTreeView>

#include "gui/file_list_view.h"
#include "gui_harness.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra::test {
namespace {

TEST(FileListDialogs, ExportedJsonSelectsTheSameFilesAgain) {
    ScratchFolder folder("gui_file_lists");
    MainWindowHarness h;
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    WalkToBrowse(h, "OFFICE", false, "USERS");
    const std::string path = folder.file("users.json");

    h.answers.expect([](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "FileListExportDialog");
        EXPECT_FALSE(widget->findChild<QRadioButton*>("ExportSelection")->isEnabled()) << "nothing is selected";
        EXPECT_TRUE(widget->findChild<QRadioButton*>("ExportCurrentFolder")->isChecked());
        widget->findChild<QRadioButton*>("ExportWholeVolume")->click();
        widget->findChild<QRadioButton*>("ExportJson")->click();
        qobject_cast<QDialog*>(widget)->accept();
    });
    h.answers.expect(ChooseFile("FileListSaveDialog", path));
    h.answers.expect(h.answers.pressOk());
    h.chooseCommand(Command::ExportFileList);
    ASSERT_TRUE(h.answers.allAnswered());
    const auto bytes = ReadWholeFile(path);
    const std::string json(bytes.begin(), bytes.end());
    EXPECT_EQ(json.rfind("{\n \"format\": 1,", 0), 0u) << json.substr(0, 80);
    EXPECT_EQ(h.answers.texts().back(), std::to_string(h.session.records.files().size()) + " file(s) listed in " + path + ".");

    // The open dialog offers both forms the export writes.
    h.answers.expect([path](QWidget* widget) {
        const auto* dialog = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->nameFilters().front().contains("*.csv")) << dialog->nameFilters().front().toStdString();
        EXPECT_TRUE(dialog->nameFilters().front().contains("*.json"));
        ChooseFile("FileListOpenDialog", path)(widget);
    });
    h.answers.expect(h.answers.pressOk());
    h.chooseCommand(Command::SelectFromList);
    ASSERT_TRUE(h.answers.allAnswered());
    EXPECT_EQ(h.listRows(), static_cast<int>(h.session.records.files().size()));
    EXPECT_EQ(h.window->SelectedListRows().size(), h.session.records.files().size());
}

}  // namespace
}  // namespace lumbra::test
