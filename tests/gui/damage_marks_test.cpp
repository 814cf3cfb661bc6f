// The marks of damaged data in the file list: the warning sign stays whole in a selected row,
// and a folder holding a damaged file carries the sign and the colour too, in the list and in
// the folder tree.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/row_colour.h"
#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/file_type_icons.h"
#include "gui/tree_pane.h"

namespace lumbra {
namespace {

std::vector<ListColumn> NameColumn() { return {{"Name", 200, false}}; }

ItemRow Row(ItemRow::Kind kind, const std::string& name, bool damaged) {
    ItemRow row{kind, name, kind == ItemRow::Kind::Folder ? "Folder" : "Text Document", "10", "05-Mar-2004",
                "09:07:31", "7"};
    row.damaged = damaged;
    return row;
}

// Pixels of the sign's own amber (a bright orange), not tinted towards the selection colour
// and not the lighter yellow of the tree's folder picture.
int AmberPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 225 && c.green() > 140 && c.green() < 210 && c.blue() < 30) ++count;
        }
    return count;
}

TEST(DamageMarks, ASelectedDamagedRowKeepsItsSign) {
    FileListView view;
    view.resize(300, 120);
    view.setColumns(NameColumn());
    view.model().appendRow(Row(ItemRow::Kind::File, "broken.txt", true));
    view.model().appendRow(Row(ItemRow::Kind::File, "fine.txt", false));
    view.show();
    view.selectRow(0);
    QApplication::processEvents();
    QTreeView* details = view.detailsView();
    const QImage shot = details->viewport()->grab().toImage();
    const QRect first = details->visualRect(view.model().index(0, 0));
    const QRect second = details->visualRect(view.model().index(1, 0));
    ASSERT_TRUE(details->selectionModel()->isRowSelected(0, {}));
    EXPECT_GT(AmberPixels(shot, first.adjusted(0, 0, -(first.width() - 24), 0)), 0);
    EXPECT_EQ(AmberPixels(shot, second), 0);
}

TEST(DamageMarks, AFolderHoldingDamageCarriesTheSignAndTheColour) {
    FileListModel model;
    model.setColumns(NameColumn());
    model.appendRow(Row(ItemRow::Kind::Folder, "Broken", true));
    model.appendRow(Row(ItemRow::Kind::Folder, "Fine", false));
    model.flush();
    const QColor amber(kDamagedRowColour.red, kDamagedRowColour.green, kDamagedRowColour.blue);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>(), amber);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
    const QIcon marked = model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>();
    const QIcon plain = model.data(model.index(1, 0), Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(plain.cacheKey(), FileTypeIcons::folder().cacheKey());
    EXPECT_GT(AmberPixels(marked.pixmap(16, 16).toImage(), QRect(0, 0, 16, 16)), 0);
    EXPECT_EQ(AmberPixels(plain.pixmap(16, 16).toImage(), QRect(0, 0, 16, 16)), 0);
}

// Outer and its Inner hold damage, Other does not; the marks wait with the items until their
// branch is shown, and Outer keeps its sign while selected.
TEST(DamageMarks, AFolderHoldingDamageCarriesTheSignAndTheColourInTheTree) {
    QWidget window;
    window.resize(300, 200);
    TreePane pane(TreePaneStage::Files, "DATA", &window);
    QTreeWidget* tree = pane.widget();
    tree->setGeometry(0, 0, 300, 200);
    tree->setEnabled(true);
    tree->show();
    const uint32_t batch = UINT32_MAX;
    const std::vector<uint32_t> ids =
        pane.addItems(pane.rootId(), {{batch, "Outer", true}, {0, "Inner", true}, {batch, "Other", false}});
    ASSERT_EQ(ids.size(), 3u);
    pane.item(ids[0])->setExpanded(true);
    window.show();
    pane.select(ids[0]);
    QApplication::processEvents();

    const QColor amber(kDamagedRowColour.red, kDamagedRowColour.green, kDamagedRowColour.blue);
    EXPECT_EQ(pane.item(ids[0])->foreground(0).color(), amber);
    EXPECT_EQ(pane.item(ids[1])->foreground(0).color(), amber);
    EXPECT_NE(pane.item(ids[2])->foreground(0).color(), amber);
    // The sign stands in the icon's lower right corner; the folder stays in sight above it.
    const QImage outer = pane.item(ids[0])->icon(0).pixmap(16, 16).toImage();
    EXPECT_GT(AmberPixels(outer, QRect(8, 8, 8, 8)), 0);
    EXPECT_EQ(AmberPixels(outer, QRect(0, 0, 6, 6)), 0);
    ASSERT_EQ(pane.selectedId(), ids[0]);
    const QImage shot = tree->viewport()->grab().toImage();
    for (size_t at = 0; at < ids.size(); ++at) {
        const QRect row = tree->visualItemRect(pane.item(ids[at]));
        // The icon stands at the left of the item's rectangle.
        const QRect icon(row.left(), row.top(), tree->iconSize().width() + 6, row.height());
        if (at < 2)
            EXPECT_GT(AmberPixels(shot, icon), 0) << at;
        else
            EXPECT_EQ(AmberPixels(shot, icon), 0) << at;
    }
}

}  // namespace
}  // namespace lumbra
