// The browse step's file list: batches of rows, colours by type, alignment, selection and
// the speed of a large folder.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"

namespace lumbra {
namespace {

std::vector<ListColumn> BrowseColumns() {
    return {{"Name", 150, false}, {"Type", 100, false}, {"Size", 70, true},
            {"Date", 100, false}, {"Time", 70, false}, {"Sector", 70, false}};
}

ItemRow FileRow(int number, const std::string& type = "Text Document") {
    return {ItemRow::Kind::File, "file" + std::to_string(number) + ".txt", type, std::to_string(number * 10),
            "05-Mar-2004", "09:07:31", std::to_string(number)};
}

TEST(FileListView, AHundredThousandRowsArriveQuicklyAndScrollToTheEnd) {
    FileListView view;
    view.resize(600, 400);
    view.setColumns(BrowseColumns());
    view.show();
    QElapsedTimer clock;
    clock.start();
    for (int number = 0; number < 100000; ++number) view.model().appendRow(FileRow(number));
    view.model().flush();
    view.selectRow(99999);
    QApplication::processEvents();
    EXPECT_EQ(view.model().rowCount(), 100000);
    EXPECT_EQ(view.selectionMark(), 99999);
    EXPECT_LT(clock.elapsed(), 15000);
}

TEST(FileListView, RowsTakeTheColourOfTheirTypeAndSizesAlignRight) {
    FileListModel model;
    model.setColumns(BrowseColumns());
    model.appendRow(FileRow(1, "Deleted Text Document"));
    model.appendRow(FileRow(2, "Compressed (zipped) Folder"));
    model.appendRow(FileRow(3, "compressed file"));
    model.flush();
    EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(150, 150, 150));
    EXPECT_EQ(model.data(model.index(1, 3), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(model.data(model.index(2, 0), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
    EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft, Qt::AlignLeft);
    EXPECT_EQ(model.headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), "Sector");
}

TEST(FileListView, NamesAreShownAsLatin1) {
    FileListModel model;
    model.setColumns(BrowseColumns());
    ItemRow row = FileRow(1);
    row.name = "M\xfcnchen.txt";
    model.appendRow(row);
    model.flush();
    EXPECT_EQ(model.cell(0, 0), QString::fromUtf8("M\u00fcnchen.txt"));
}

TEST(FileListView, SelectedRowsFollowTheSelectionInEveryLook) {
    FileListView view;
    view.setColumns(BrowseColumns());
    for (int number = 0; number < 10; ++number) view.model().appendRow(FileRow(number));
    view.selectRow(4);
    view.setMode(ListViewMode::Icons);
    EXPECT_EQ(view.selectedRows(), std::vector<int>{4});
    view.setMode(ListViewMode::List);
    EXPECT_EQ(view.selectionMark(), 4);
    view.model().clearRows();
    EXPECT_EQ(view.selectionMark(), -1);
}

}  // namespace
}  // namespace lumbra
