// The real main window driven through the wizard on the demo disk, dialogs answered by the test.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/find_window.h"
#include "gui/gui_harness.h"
#include "gui/mode_of_recovery_dialog.h"
#include "gui/saving_window.h"
#include "gui/tree_pane.h"
#include "support/scratch_folder.h"
#include "support/sha256.h"
#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/progress_bar.h"
#include "toolkit/qt/transparent_label.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::MainWindowHarness;
using test::WalkToBrowse;

std::string Digest(const std::vector<uint8_t>& bytes) { return test::Sha256::hex(bytes); }

// size and digest of every file below a folder
std::multiset<std::pair<uint64_t, std::string>> ContentsBelow(const fs::path& folder) {
    std::multiset<std::pair<uint64_t, std::string>> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        contents.insert({bytes.size(), Digest(bytes)});
    }
    return contents;
}

TEST(WizardFlow, StartsInTheDiskStepWithTheDemoImage) {
    MainWindowHarness h;
    EXPECT_EQ(h.window->windowTitle(), "Corvalt Lumbra Novell NSS");
    EXPECT_EQ(h.treeTexts(TreeKind::Drives), QStringList({"My Computer", "Storage Device0"}));
    EXPECT_TRUE(h.window->parts().usePartitionTable->isChecked());
    EXPECT_FALSE(h.window->parts().next->isVisible());
    EXPECT_FALSE(h.window->parts().startField->isVisible());
    EXPECT_TRUE(h.window->parts().quickHelp->text().contains("1. Select the disk to recover from left pane."));
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    EXPECT_TRUE(h.window->parts().next->isVisible());
    EXPECT_EQ(h.window->Text(InfoValue(3)), std::to_string(h.session.disk.driveTable().rows[0].cylinders));
}

TEST(WizardFlow, PartitionTableThenVolumeBasedThenBrowse) {
    MainWindowHarness h;
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    ASSERT_EQ(h.session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_EQ(h.treeTexts(TreeKind::Pools), QStringList({"NSS Pools", "OFFICE", "ARCHIVE"}));
    WalkToBrowse(h, "OFFICE", false, "USERS");
    EXPECT_EQ(h.window->treeWidget(TreeKind::Directory)->topLevelItem(0)->text(0), "USERS");
    EXPECT_EQ(h.session.wizard.recoveryMode, 1);
    EXPECT_TRUE(h.answers.allAnswered());
}

// Only the branches shown have items: a million-file volume must not wait for all of its tree.
TEST(WizardFlow, TheFolderTreeMakesABranchWhenItIsFirstShown) {
    MainWindowHarness h;
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    ASSERT_EQ(h.session.wizard.currentStep(), WizardStep::StepPools);
    WalkToBrowse(h, "OFFICE", false, "USERS");
    QTreeWidget* tree = h.window->treeWidget(TreeKind::Directory);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_GT(root->childCount(), 0);
    auto made = [&] {
        int count = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) ++count;
        return count;
    };
    EXPECT_EQ(made(), 1 + root->childCount());
    ASSERT_GT(h.session.records.folders().size(), static_cast<size_t>(root->childCount()));
    // A folder with subfolders shows its button; opening it makes its children, named as recorded.
    QTreeWidgetItem* branch = nullptr;
    for (int i = 0; i < root->childCount() && !branch; ++i)
        if (tree->model()->hasChildren(tree->model()->index(i, 0, tree->model()->index(0, 0)))) branch = root->child(i);
    ASSERT_NE(branch, nullptr);
    EXPECT_EQ(branch->childCount(), 0);
    branch->setExpanded(true);
    ASSERT_GT(branch->childCount(), 0);
    const ItemRecord* folder = h.session.records.FindFolderByTreeItem(h.window->tree(TreeKind::Directory)->idOf(branch->child(0)));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(QString::fromLatin1(folder->name.c_str()), branch->child(0)->text(0));
}

// The whole second run: a scan, pool-based recovery and every browse command on its result.
class ScannedArchive : public ::testing::Test {
protected:
    void SetUp() override {
        h.clickTreeItem(TreeKind::Drives, "Storage Device0");
        QTest::mouseClick(h.window->parts().searchPartition, Qt::LeftButton);
        ASSERT_TRUE(h.window->parts().startField->isVisible());
        EXPECT_EQ(h.window->parts().startField->text(), "0");
        EXPECT_EQ(h.window->parts().endField->text().toULongLong(), h.session.disk.driveTable().rows[0].sizeInSectors());
        h.clickNext();
        ASSERT_TRUE(h.waitForStep(WizardStep::StepPools));
        EXPECT_EQ(h.treeTexts(TreeKind::Pools), QStringList({"NSS Pools", "OFFICE", "ARCHIVE"}));
        WalkToBrowse(h, "ARCHIVE", true, "ARCHIVE");
        ASSERT_EQ(h.session.wizard.recoveryMode, 2);
    }
    MainWindowHarness h;
};

// Double-clicks the first folder row of the list; its name.
QString OpenFirstFolder(MainWindowHarness& h) {
    const int folder = h.firstRow(true);
    if (folder < 0) return {};
    const QString name = h.listCell(folder, 0);
    QTreeView* details = h.window->fileList().detailsView();
    const QRect rect = details->visualRect(h.window->fileList().model().index(folder, 0));
    // A double click is a click followed by the second press.
    QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(details->viewport(), Qt::LeftButton, {}, rect.center());
    return name;
}

TEST_F(ScannedArchive, OpensAFolderAndRenamesAFile) {
    // The backup folders hold topic folders, which hold the files.
    for (int level = 0; level < 3 && h.firstRow(false) < 0; ++level) {
        const QString folderName = OpenFirstFolder(h);
        ASSERT_FALSE(folderName.isEmpty());
        const QTreeWidgetItem* current = h.window->treeWidget(TreeKind::Directory)->currentItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->text(0), folderName);
    }
    QTreeView* details = h.window->fileList().detailsView();
    const int file = h.firstRow(false);
    ASSERT_GE(file, 0);
    h.window->fileList().selectRow(file);
    details->setFocus();
    QTest::keyClick(details, Qt::Key_F2);
    auto* editor = h.window->findChild<QLineEdit*>("RenameEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->maxLength(), 255);
    editor->setText("renamed.bin");
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over once the event loop runs again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.session.wizard.labelEditing.load() == 0; }, test::kEventLimitMs));
    EXPECT_EQ(h.listCell(file, 0), "renamed.bin");
    const uint64_t key = h.listCell(file, 5).toULongLong();
    bool found = false;
    for (const auto& record : h.session.records.files())
        if (record.itemNumber == key) found = record.name == "renamed.bin";
    EXPECT_TRUE(found);
    EXPECT_EQ(h.session.wizard.labelEditing.load(), 0);
}

TEST_F(ScannedArchive, TabAlternatesTreeAndListAndEnterOpensTheMarkedRow) {
    QTreeView* details = h.window->fileList().detailsView();
    QTreeWidget* tree = h.window->treeWidget(TreeKind::Directory);
    ASSERT_TRUE(h.focusFileList());
    for (int press = 0; press < 4; ++press) {
        const bool toTree = h.session.wizard.treeHasFocus == 0;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(toTree ? tree->hasFocus() : details->hasFocus());
        EXPECT_EQ(h.session.wizard.treeHasFocus, toTree ? 1 : 0);
    }
    if (h.session.wizard.treeHasFocus == 1) QTest::keyClick(tree, Qt::Key_Tab);
    ASSERT_TRUE(details->hasFocus());

    // Enter on a folder row enters it; down until a folder holds files.
    for (int level = 0; level < 3 && h.firstRow(false) < 0; ++level) {
        const int folder = h.firstRow(true);
        ASSERT_GE(folder, 0);
        const QString name = h.listCell(folder, 0);
        h.window->fileList().selectRow(folder);
        QTest::keyClick(details, Qt::Key_Return);
        ASSERT_NE(tree->currentItem(), nullptr);
        EXPECT_EQ(tree->currentItem()->text(0), name);
        // Showing a folder gives the tree the focus; Tab leads back to the list.
        EXPECT_TRUE(tree->hasFocus());
        QTest::keyClick(tree, Qt::Key_Tab);
        ASSERT_TRUE(details->hasFocus());
    }
    const int file = h.firstRow(false);
    ASSERT_GE(file, 0);
    const QString name = h.listCell(file, 0);
    h.window->fileList().selectRow(file);
    QTest::keyClick(details, Qt::Key_Return);
    ASSERT_EQ(h.desktop.opened.size(), 1u);
    EXPECT_TRUE(QString::fromLocal8Bit(h.desktop.opened[0].c_str()).endsWith(name));

    QTest::keyClick(h.window.get(), Qt::Key_Escape);
    EXPECT_TRUE(h.window->isVisible());
}

TEST_F(ScannedArchive, FindsFilesAndFiltersTheList) {
    const std::string name = h.session.records.files().front().name;
    const QString search = QString::fromLatin1(name.substr(0, 3).c_str());
    int results = -1;
    h.answers.expect([&](QWidget* widget) {
        auto* find = qobject_cast<FindWindow*>(widget);
        ASSERT_NE(find, nullptr);
        find->findChild<QLineEdit*>("SearchText")->setText(search);
        find->findChild<QPushButton*>("StartSearch")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !find->searching() && find->findChild<QPushButton*>("StartSearch")->isEnabled(); }, test::kEventLimitMs));
        results = find->findChild<QTreeWidget*>("FindResults")->topLevelItemCount();
        QMetaObject::invokeMethod(find, "reject");
    });
    h.chooseCommand(Command::FindFiles);
    EXPECT_GT(results, 0);

    const std::string extension = name.substr(name.rfind('.'));
    h.answers.expect([&](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "FileFiltersWindow");
        widget->findChild<QLineEdit*>("FilterEdit")->setText(QString::fromLatin1(("*" + extension).c_str()));
        for (QPushButton* button : widget->findChildren<QPushButton*>())
            if (button->text() == "&Add") button->click();
        EXPECT_EQ(widget->findChild<QListWidget*>("FilterList")->count(), 1);
        for (QPushButton* button : widget->findChildren<QPushButton*>())
            if (button->text() == "&Close") button->click();
    });
    h.chooseCommand(Command::FileFilters);
    ASSERT_EQ(h.session.filters.count(), 1u);
    const QString suffix = QString::fromLatin1(extension.c_str()).toLower();
    for (int row = 0; row < h.listRows(); ++row) {
        const bool folderRow = h.listCell(row, 1).endsWith("Folder");
        EXPECT_TRUE(folderRow || h.listCell(row, 0).toLower().endsWith(suffix));
    }
}

TEST_F(ScannedArchive, RecoversAllSavesASnapshotAndLoadsItBack) {
    test::ScratchFolder destination("gui_recover");
    h.answers.expect(test::ChooseFile("DestinationDialog", destination.path().string()));
    // The saving window runs by itself; the message after it is answered.
    h.answers.expect([](QWidget* widget) { EXPECT_EQ(widget->objectName(), "SavingWindow"); });
    h.answers.expect(h.answers.pressOk());
    h.chooseCommand(Command::RecoverAll);
    ASSERT_TRUE(h.answers.allAnswered());
    // The run ends with a message that counts the files and says where the report went.
    ASSERT_EQ(h.answers.texts().size(), 1u);
    const std::string message = h.answers.texts().back();
    EXPECT_NE(message.find("file(s) saved"), std::string::npos) << message;
    EXPECT_NE(message.find("0 file(s) cut short, 0 file(s) damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("Report: " + (destination.path() / "lumbra-report.xml").string()), std::string::npos) << message;
    EXPECT_TRUE(fs::exists(destination.path() / "lumbra-report.csv"));

    const test::BuiltPool& pool = test::DemoImage().pool("ARCHIVE");
    std::multiset<std::pair<uint64_t, std::string>> expected;
    for (const test::BuiltFile& file : pool.volume("ARCHIVE").files)
        if (file.size > 0 && !file.lostByDamage && !file.duplicate)
            expected.insert({file.size, Digest(test::DemoImage().consecutiveContent(pool, file))});
    const auto written = ContentsBelow(destination.path());
    EXPECT_GE(written.size(), expected.size());
    EXPECT_TRUE(std::includes(written.begin(), written.end(), expected.begin(), expected.end()));

    const int rowsBefore = h.listRows();
    test::ScratchFolder snapshots("gui_snapshot");
    // The saved name is written in capitals with the snapshot extension.
    const std::string snapshot = snapshots.file("ARCHIVE.QVDX");
    h.answers.expect(test::ChooseFile("SnapshotSaveDialog", snapshot));
    h.answers.expect(h.answers.pressOk());
    h.chooseCommand(Command::SaveSnapshot);
    ASSERT_TRUE(fs::exists(snapshot));
    ASSERT_TRUE(h.answers.allAnswered());
    EXPECT_EQ(h.answers.texts().back(), "The recovery snapshot was saved to " + snapshot + ".");

    h.clickBack();
    EXPECT_EQ(h.session.wizard.currentStep(), WizardStep::StepVolumes);
    h.clickBack();
    EXPECT_EQ(h.session.wizard.currentStep(), WizardStep::StepPools);
    h.clickBack();
    ASSERT_EQ(h.session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_TRUE(h.window->treeWidget(TreeKind::Drives)->isVisible());
    EXPECT_FALSE(h.window->fileList().isVisible());

    h.answers.expect(test::ChooseFile("SnapshotLoadDialog", snapshot));
    h.chooseCommand(Command::LoadSnapshot);
    ASSERT_TRUE(h.waitForStep(WizardStep::StepBrowse));
    EXPECT_EQ(h.listRows(), rowsBefore);
    EXPECT_TRUE(h.window->treeWidget(TreeKind::Directory)->isVisible());
    EXPECT_FALSE(h.window->parts().back->isVisible());
}

TEST(WizardFlow, StopDuringAScanEndsItEarly) {
    MainWindowHarness h;
    h.answers.expect([](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "SettingsDialog");
        widget->findChild<QComboBox*>("Sectors")->setCurrentIndex(0);
        qobject_cast<QDialog*>(widget)->accept();
    });
    h.chooseCommand(Command::Settings);
    ASSERT_EQ(h.session.settings.sectorsPerRead, 1u);
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    QTest::mouseClick(h.window->parts().searchPartition, Qt::LeftButton);
    h.clickNext();
    ASSERT_TRUE(h.window->parts().stop->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.window->parts().progress->position() >= 1; }, test::kEventLimitMs));
    QString statusAtStop;
    h.answers.expect([&](QWidget* widget) {
        statusAtStop = h.window->parts().statusLine->text();
        h.answers.pressYes()(widget);
    });
    QTest::mouseClick(h.window->parts().stop, Qt::LeftButton);
    ASSERT_TRUE(h.waitForStep(WizardStep::StepPools));
    EXPECT_EQ(h.answers.captions().back(), "Corvalt Lumbra Novell NSS");
    const QStringList words = statusAtStop.split(' ');
    ASSERT_GE(words.size(), 5);
    EXPECT_LT(words[2].toULongLong(), words[4].toULongLong());
    EXPECT_LT(h.window->parts().progress->position(), 100);
    EXPECT_TRUE(h.window->parts().back->isVisible());
}

TEST(WizardFlow, ExitAsksAndEndsOnlyOnYes) {
    MainWindowHarness h;
    h.answers.expect(h.answers.pressNo());
    h.chooseCommand(Command::Exit);
    EXPECT_TRUE(h.desktop.endedWith.empty());
    EXPECT_EQ(h.answers.captions().back(), "Corvalt Lumbra Novell NSS");
    h.answers.expect(h.answers.pressYes());
    h.chooseCommand(Command::Exit);
    EXPECT_EQ(h.desktop.endedWith, std::vector<int>{0});
    EXPECT_EQ(h.desktop.opened.back(), std::string(WizardController::kHomePage));
}

TEST(WizardFlow, ClosingTheWindowAsksFirst) {
    MainWindowHarness h;
    h.answers.expect(h.answers.pressNo());
    h.window->close();
    EXPECT_TRUE(h.window->isVisible());
    h.answers.expect(h.answers.pressYes());
    h.window->close();
    EXPECT_FALSE(h.window->isVisible());
}

}  // namespace
}  // namespace lumbra
