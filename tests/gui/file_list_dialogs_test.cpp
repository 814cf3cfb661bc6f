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

TEST(FileListDialogs, EitherExportSelectsTheSameFilesAgain) {
    ScratchFolder folder("gui_file_lists");
    MainWindowHarness h;
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    WalkToBrowse(h, "OFFICE", false, "USERS");
    for (const std::string name : {"users.json", "users.csv"}) {
        const bool json = name.ends_with(".json");
        const std::string path = folder.file(name);
        h.answers.expect([json](QWidget* widget) {
            ASSERT_EQ(widget->objectName(), "FileListExportDialog");
            widget->findChild<QRadioButton*>("ExportWholeVolume")->click();
            if (json) widget->findChild<QRadioButton*>("ExportJson")->click();
            qobject_cast<QDialog*>(widget)->accept();
        });
        h.answers.expect(ChooseFile("FileListSaveDialog", path));
        h.answers.expect(h.answers.pressOk());
        h.chooseCommand(Command::ExportFileList);
        ASSERT_TRUE(h.answers.allAnswered());
        const auto bytes = ReadWholeFile(path);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text.rfind(json ? "{\n \"format\": 1," : "path,size,", 0), 0u) << text.substr(0, 80);
        EXPECT_EQ(h.answers.texts().back(), std::to_string(h.session.records.files().size()) + " file(s) listed in " + path + ".");

        // The open dialog shows what the export writes.
        h.answers.expect([path](QWidget* widget) {
            const auto* dialog = qobject_cast<QFileDialog*>(widget);
            ASSERT_TRUE(dialog);
            EXPECT_TRUE(dialog->nameFilters().front().contains("*.csv")) << dialog->nameFilters().front().toStdString();
            EXPECT_TRUE(dialog->nameFilters().front().contains("*.json"));
            ChooseFile("FileListOpenDialog", path)(widget);
        });
        h.answers.expect(h.answers.pressOk());
        h.chooseCommand(Command::SelectFromList);
        ASSERT_TRUE(h.answers.allAnswered());
        EXPECT_EQ(h.listRows(), static_cast<int>(h.session.records.files().size())) << name;
        EXPECT_EQ(h.window->SelectedListRows().size(), h.session.records.files().size()) << name;
    }
}

}  // namespace
}  // namespace lumbra::test
