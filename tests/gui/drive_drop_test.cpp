// A disk image file dropped onto the drive tree of the first step becomes a drive.
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include "gui/gui_harness.h"
#include "gui/main_window.h"

namespace lumbra {
namespace {

using test::MainWindowHarness;

// Drags `urls` over the tree's viewport and drops them; true when the drop was accepted.
bool DropOn(QTreeWidget& tree, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = tree.viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    return drop.isAccepted();
}

TEST(DriveDrop, AnImageDroppedOnTheDriveTreeIsAddedAsADrive) {
    MainWindowHarness h;
    QTreeWidget* drives = h.window->treeWidget(TreeKind::Drives);
    ASSERT_NE(drives, nullptr);
    ASSERT_EQ(h.treeTexts(TreeKind::Drives), QStringList({"My Computer", "Storage Device0"}));

    EXPECT_FALSE(DropOn(*drives, {QUrl("https://www.corvalt.example/disk.img")}));
    EXPECT_TRUE(DropOn(*drives, {QUrl::fromLocalFile(QString::fromStdString(test::DemoImagePath()))}));
    EXPECT_EQ(h.treeTexts(TreeKind::Drives), QStringList({"My Computer", "Storage Device0", "Storage Device1"}));
    EXPECT_EQ(h.session.disk.driveTable().count(), 2u);
}

}  // namespace
}  // namespace lumbra
