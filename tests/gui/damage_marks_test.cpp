// The marks of damaged data in the file list: the warning sign stays whole in a selected row,
// and a folder holding a damaged file carries the sign and the colour too.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "app/row_colour.h"
#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/file_type_icons.h"

namespace lumbra {
namespace {

std::vector<ListColumn> NameColumn() { return {{"Name", 200, false}}; }

ItemRow Row(ItemRow::Kind kind, const std::string& name, bool damaged) {
    ItemRow row{kind, name, kind == ItemRow::Kind::Folder ? "Folder" : "Text Document", "10", "05-Mar-2004",
                "09:07:31", "7"};
    row.damaged = damaged;
    return row;
}

// Pixels of the sign's own amber (a bright orange), not tinted towards the selection colour.
int AmberPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 225 && c.green() > 140 && c.green() < 210 && c.blue() < 60) ++count;
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

}  // namespace
}  // namespace lumbra
