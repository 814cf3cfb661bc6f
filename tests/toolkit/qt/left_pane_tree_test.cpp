#include "toolkit/qt/left_pane_tree.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "support/qt/icon_pixels.h"
#include "toolkit/qt/pictures.h"
#include "toolkit/qt/pixel_probe.h"

namespace lumbra {
namespace {

// Whether the item shows the picture of the given image-list resource.
bool ShowsPicture(const QTreeWidgetItem* item, int resource) {
    const QImage expected = PictureImage(QStringLiteral("tree_%1").arg(resource));
    return !expected.isNull() && test::IconPixels(item->icon(0), 16) == test::PicturePixels(expected);
}

TEST(LeftPaneTreeRoots, EachStageHasItsRootTextPictureAndIsExpanded) {
    struct Case {
        TreeStage stage;
        const char* text;
        int resource;
    };
    for (const Case& c : {Case{TreeStage::Disks, "My Computer", 233}, Case{TreeStage::Pools, "NSS Pools", 180},
                          Case{TreeStage::Volumes, "NSS Volumes", 233}, Case{TreeStage::Files, "USERS", 233}}) {
        LeftPaneTree tree(c.stage, "USERS");
        ASSERT_EQ(tree.topLevelItemCount(), 1);
        const QTreeWidgetItem* root = tree.topLevelItem(0);
        EXPECT_EQ(root->text(0), c.text);
        EXPECT_TRUE(ShowsPicture(root, c.resource)) << c.text;
        EXPECT_TRUE(root->isExpanded());
    }
    LeftPaneTree disks(TreeStage::Disks);
    EXPECT_TRUE(ShowsPicture(disks.itemOf(disks.addItem(disks.rootId(), "Storage Device0")), 179));
    LeftPaneTree files(TreeStage::Files, "USERS");
    EXPECT_TRUE(ShowsPicture(files.itemOf(files.addItem(files.rootId(), "HOME")), 178));
    EXPECT_EQ(files.addItem(999, "lost"), 0u);
}

class LeftPaneTreeClicks : public ::testing::Test {
protected:
    void build(TreeStage stage, const std::vector<QString>& children) {
        tree = std::make_unique<LeftPaneTree>(stage, "USERS");
        for (const QString& text : children) ids.push_back(tree->addItem(tree->rootId(), text));
        tree->resize(223, 320);
        tree->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
        QObject::connect(tree.get(), &LeftPaneTree::actionChosen, [this](const TreeAction& a) { actions.push_back(a); });
    }
    QRect rowOf(uint32_t id) const { return tree->visualItemRect(tree->itemOf(id)); }
    void clickAt(QPoint position) { QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, position); }
    QPoint onLabel(uint32_t id) const { return rowOf(id).topLeft() + QPoint(30, rowOf(id).height() / 2); }
    QPoint onIcon(uint32_t id) const { return rowOf(id).topLeft() + QPoint(8, rowOf(id).height() / 2); }
    QPoint rightOfLabel(uint32_t id) const { return QPoint(tree->viewport()->width() - 4, rowOf(id).center().y()); }
    QPoint onIndent(uint32_t id) const { return QPoint(3, rowOf(id).center().y()); }
    QPoint belowEverything() const { return QPoint(50, tree->viewport()->height() - 5); }

    std::unique_ptr<LeftPaneTree> tree;
    std::vector<uint32_t> ids;
    std::vector<TreeAction> actions;
};

TEST_F(LeftPaneTreeClicks, DiskStageChoosesTheDiskNumberedInTheText) {
    build(TreeStage::Disks, {"Storage Device0", "Storage Device1"});
    clickAt(onLabel(ids[1]));
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].kind, TreeActionKind::SelectDisk);
    EXPECT_EQ(actions[0].number, 1);
    EXPECT_EQ(tree->selectedId(), ids[1]);
    clickAt(rightOfLabel(ids[0]));
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[1].number, 0);
    clickAt(onIndent(ids[1]));
    EXPECT_EQ(actions.size(), 2u);
    clickAt(onLabel(tree->rootId()));
    EXPECT_EQ(actions.size(), 2u);
}

TEST_F(LeftPaneTreeClicks, LinesJoinTheItemsAndTheRootHasAMinusBox) {
    build(TreeStage::Disks, {"Storage Device0", "Storage Device1"});
    const QImage shot = tree->viewport()->grab().toImage();
    const QColor line = tree->palette().color(QPalette::Dark);
    const QRect first = rowOf(ids[0]);
    const int childColumn = first.left() - tree->indentation() / 2 - 1;
    // A dotted line runs down the children's column and across to each child.
    EXPECT_GE(CountPixels(shot, QRect(childColumn - 1, first.top(), 3, first.height()), line), 3);
    EXPECT_GE(CountPixels(shot, QRect(childColumn + 2, first.center().y() - 1, tree->indentation() / 2, 3), line), 2);
    const QRect root = rowOf(tree->rootId());
    const QRect box(root.left() - tree->indentation() / 2 - 5, root.center().y() - 4, 8, 8);
    EXPECT_GE(CountPixels(shot, box.adjusted(-1, -1, 1, 1), line), 28);
    EXPECT_GE(CountPixels(shot, box, tree->palette().color(QPalette::Text)), 5);
}

TEST_F(LeftPaneTreeClicks, AClickOnNoItemSelectsTheRoot) {
    build(TreeStage::Disks, {"Storage Device0"});
    clickAt(onLabel(ids[0]));
    clickAt(belowEverything());
    EXPECT_EQ(tree->selectedId(), tree->rootId());
    EXPECT_EQ(actions.size(), 1u);
}

TEST_F(LeftPaneTreeClicks, PoolStageCountsClicksAnywhereOnTheRow) {
    build(TreeStage::Pools, {"DATA", "SYS"});
    clickAt(onIndent(ids[1]));
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].kind, TreeActionKind::SelectPool);
    EXPECT_EQ(actions[0].number, 1);
    EXPECT_EQ(tree->selectedId(), ids[1]);
}

TEST_F(LeftPaneTreeClicks, VolumeStageCountsOnlyIconLabelAndTheSpaceRightOfIt) {
    build(TreeStage::Volumes, {"VOL1", "USERS"});
    clickAt(onIndent(ids[0]));
    EXPECT_TRUE(actions.empty());
    clickAt(onIcon(ids[1]));
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].kind, TreeActionKind::SelectVolume);
    EXPECT_EQ(actions[0].number, 1);
}

TEST_F(LeftPaneTreeClicks, FileStageShowsTheClickedFolderAtAnyDepth) {
    build(TreeStage::Files, {"HOME"});
    const uint32_t nested = tree->addItem(ids[0], "ALICE");
    tree->expandItemOf(ids[0]);
    clickAt(onLabel(nested));
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].kind, TreeActionKind::ShowFolder);
    EXPECT_EQ(actions[0].itemId, nested);
    EXPECT_EQ(tree->selectedId(), nested);
    clickAt(onLabel(tree->rootId()));
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[1].itemId, tree->rootId());
}

// A folder's children are made when its branch is first shown; until then its button shows
// and its ids already answer.
TEST_F(LeftPaneTreeClicks, ItemsAddedForLaterAreMadeWhenTheirBranchIsFirstShown) {
    build(TreeStage::Files, {});
    const uint32_t home = tree->addLaterItem(tree->rootId(), "HOME");
    const uint32_t alice = tree->addLaterItem(home, "ALICE");
    const uint32_t bob = tree->addLaterItem(home, "BOB");
    const uint32_t mail = tree->addLaterItem(alice, "MAIL");
    EXPECT_EQ(tree->addLaterItem(999, "LOST"), 0u);
    tree->makeShownBranches();
    ASSERT_NE(tree->itemOf(home), nullptr);
    EXPECT_EQ(tree->itemOf(alice), nullptr);
    EXPECT_EQ(tree->itemText(mail), "MAIL");
    EXPECT_EQ(tree->parentIdOf(mail), alice);
    EXPECT_EQ(tree->parentIdOf(home), tree->rootId());
    EXPECT_TRUE(ShowsPicture(tree->itemOf(home), 178));
    // The unmade branch has its plus box, and a press on it opens the branch.
    const QImage shot = tree->viewport()->grab().toImage();
    const QRect row = rowOf(home);
    const QRect box(row.left() - tree->indentation() / 2 - 5, row.center().y() - 4, 8, 8);
    EXPECT_GE(CountPixels(shot, box.adjusted(-1, -1, 1, 1), tree->palette().color(QPalette::Dark)), 28);
    clickAt(QPoint(row.left() - tree->indentation() / 2, row.center().y()));
    EXPECT_TRUE(actions.empty());
    ASSERT_NE(tree->itemOf(alice), nullptr);
    EXPECT_EQ(tree->itemOf(home)->childCount(), 2);
    EXPECT_EQ(tree->itemOf(home)->child(1)->text(0), "BOB");
    EXPECT_EQ(tree->itemOf(bob)->parent(), tree->itemOf(home));
    EXPECT_EQ(tree->itemOf(mail), nullptr);
    EXPECT_TRUE(ShowsPicture(tree->itemOf(alice), 178));
    // Selecting a deeper waiting item makes it; an item added at once goes after the waiting ones.
    tree->selectItem(mail);
    EXPECT_EQ(tree->selectedId(), mail);
    EXPECT_EQ(tree->itemOf(mail)->parent(), tree->itemOf(alice));
    const uint32_t carol = tree->addItem(home, "CAROL");
    EXPECT_EQ(tree->itemOf(home)->child(2), tree->itemOf(carol));
}

}  // namespace
}  // namespace lumbra
