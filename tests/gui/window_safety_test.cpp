// What the main window must never do behind the user's back: replace a snapshot without
// asking about the file really written, let Shift+Tab reach controls under the file list,
// close the saving window while files are written, or block without a busy cursor.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/gui_harness.h"
#include "gui/saving_window.h"
#include "support/scratch_folder.h"
#include "toolkit/qt/group_radio_button.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::MainWindowHarness;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ToBrowse(MainWindowHarness& h) {
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    ASSERT_EQ(h.session.wizard.currentStep(), WizardStep::StepPools);
    test::WalkToBrowse(h, "OFFICE", false, "USERS");
}

// Answers the replace question with `button` and, on No, closes the save dialog as well.
test::ModalAnswerer::Handler AnswerReplace(QMessageBox::StandardButton button, QString& asked) {
    return [button, &asked](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr) << widget->objectName().toStdString();
        asked = box->text();
        QWidget* saveDialog = box->parentWidget();
        box->button(button)->click();
        if (button == QMessageBox::No) QMetaObject::invokeMethod(saveDialog, "reject", Qt::QueuedConnection);
    };
}

TEST(WindowSafety, ReplacingASnapshotAsksAboutTheFileReallyWritten) {
    MainWindowHarness h;
    ToBrowse(h);
    test::ScratchFolder folder("gui_replace");
    const std::string written = folder.file("SCAN.QVDX");
    std::ofstream(written, std::ios::binary) << "earlier";

    QString asked;
    h.answers.expect(test::ChooseFile("SnapshotSaveDialog", folder.file("scan")));
    h.answers.expect(AnswerReplace(QMessageBox::No, asked));
    h.chooseCommand(Command::SaveSnapshot);
    EXPECT_TRUE(h.answers.allAnswered());
    EXPECT_TRUE(asked.contains("SCAN.QVDX")) << asked.toStdString();
    EXPECT_EQ(Contents(written), "earlier");

    asked.clear();
    h.answers.expect(test::ChooseFile("SnapshotSaveDialog", folder.file("scan")));
    h.answers.expect(AnswerReplace(QMessageBox::Yes, asked));
    h.answers.expect(h.answers.pressOk());
    h.chooseCommand(Command::SaveSnapshot);
    EXPECT_TRUE(h.answers.allAnswered());
    EXPECT_TRUE(asked.contains("SCAN.QVDX"));
    EXPECT_NE(Contents(written), "earlier");
    EXPECT_FALSE(fs::exists(folder.file("scan")));
}

TEST(WindowSafety, ShiftTabAfterALoadedSnapshotStaysWithTheTreeAndTheList) {
    MainWindowHarness h;
    ToBrowse(h);
    test::ScratchFolder folder("gui_backtab");
    h.answers.expect(test::ChooseFile("SnapshotSaveDialog", folder.file("KEYS.QVDX")));
    h.answers.expect(h.answers.pressOk());
    h.chooseCommand(Command::SaveSnapshot);
    for (int press = 0; press < 3; ++press) h.clickBack();
    QTest::mouseClick(h.window->parts().searchPartition, Qt::LeftButton);
    ASSERT_TRUE(h.window->parts().startField->isVisible());
    h.answers.expect(test::ChooseFile("SnapshotLoadDialog", folder.file("KEYS.QVDX")));
    h.chooseCommand(Command::LoadSnapshot);
    ASSERT_TRUE(h.waitForStep(WizardStep::StepBrowse));

    QTreeView* details = h.window->fileList().detailsView();
    QTreeWidget* tree = h.window->treeWidget(TreeKind::Directory);
    ASSERT_TRUE(h.focusFileList());
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget* focused = QApplication::focusWidget();
        EXPECT_TRUE(focused == tree || focused == details) << (focused ? focused->objectName().toStdString() : "none");
    }
    EXPECT_FALSE(h.window->parts().startField->isVisible());
    EXPECT_FALSE(h.window->parts().endField->isVisible());
}

TEST(WindowSafety, TheSavingWindowHasNoCloseBoxAndStaysUntilTheSavingEnds) {
    MainWindowHarness h;
    SavingWindow saving(h.session.savingFlags, h.window.get());
    saving.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&saving));
    EXPECT_FALSE(saving.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(saving.windowFlags() & Qt::WindowSystemMenuHint);
    saving.close();
    QTest::keyClick(&saving, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(saving.isVisible());
    saving.savingDone();
    EXPECT_FALSE(saving.isVisible());
}

TEST(WindowSafety, AFolderIsListedUnderTheBusyCursor) {
    MainWindowHarness h;
    ToBrowse(h);
    std::vector<Qt::CursorShape> shapes;
    auto record = [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        shapes.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    };
    FileListModel& model = h.window->fileList().model();
    QObject::connect(&model, &QAbstractItemModel::modelReset, record);
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, record);
    QTreeWidget* tree = h.window->treeWidget(TreeKind::Directory);
    ASSERT_GT(tree->topLevelItem(0)->childCount(), 0);
    h.clickTreeItem(TreeKind::Directory, tree->topLevelItem(0)->child(0)->text(0));
    QApplication::processEvents();
    ASSERT_GE(shapes.size(), 2u);
    for (Qt::CursorShape shape : shapes) EXPECT_EQ(shape, Qt::WaitCursor);
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, test::kEventLimitMs));
}

}  // namespace
}  // namespace lumbra
