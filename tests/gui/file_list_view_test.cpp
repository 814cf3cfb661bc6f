// The browse step's file list: batches of rows, colours by type, alignment, selection, the
// Icons look, renaming in each look and the speed of a large folder.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/gui_harness.h"
#include "gui/icon_item_look.h"

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

// Twelve file rows, each named by `name` (its number), shown in the Icons look.
QListView* ShowTwelveIcons(FileListView& view, const std::function<std::string(int)>& name) {
    view.resize(500, 300);
    view.setColumns(BrowseColumns());
    for (int number = 0; number < 12; ++number) {
        ItemRow row = FileRow(number);
        row.name = name(number);
        view.model().appendRow(row);
    }
    view.setMode(ListViewMode::Icons);
    view.show();
    QApplication::processEvents();
    return view.findChild<QListView*>("FileListIcons");
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

TEST(FileListView, RowsAreReadBackAsAppendedAndRenamedAndReachTheViewsInOneBatch) {
    FileListModel model;
    model.setColumns(BrowseColumns());
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.appendRow(FileRow(1));
    model.appendRow(FileRow(2));
    EXPECT_EQ(model.rowCount(), 0) << "the views learn of rows in batches";
    const std::optional<ItemRow> second = model.row(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->name, "file2.txt");
    EXPECT_EQ(second->size, "20");
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(inserted.count(), 1);
    model.setRowName(0, "renamed.txt");
    EXPECT_EQ(model.row(0)->name, "renamed.txt");
    EXPECT_EQ(model.cell(0, 0), "renamed.txt");
    EXPECT_FALSE(model.row(-1));
    EXPECT_FALSE(model.row(2));
    model.clearRows();
    EXPECT_FALSE(model.row(0));
    model.appendRow(FileRow(3));
    EXPECT_EQ(model.row(0)->name, "file3.txt");
    EXPECT_EQ(model.rowCount(), 1);
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

TEST(FileListView, IconsStandLargeWithTheirNamesBelowInCellsThatDoNotOverlap) {
    FileListView view;
    QListView* icons = ShowTwelveIcons(view, [](int number) {
        return number % 3 == 0 ? "Quarterly report of the northern region " + std::to_string(number) + ".doc"
                               : FileRow(number).name;
    });
    ASSERT_TRUE(icons->isVisible());
    EXPECT_EQ(icons->iconSize(), QSize(kLargeIconSize, kLargeIconSize));
    const int lineSpacing = QFontMetrics(icons->font()).lineSpacing();
    std::vector<QRect> cells;
    for (int row = 0; row < 12; ++row) {
        const QRect cell = icons->visualRect(view.model().index(row, 0));
        EXPECT_GE(cell.height(), kLargeIconSize + 2 * lineSpacing) << row;
        EXPECT_TRUE(IconLabelRect(cell, icons->font()).top() >= cell.top() + kLargeIconSize) << row;
        EXPECT_TRUE(cell.contains(IconLabelRect(cell, icons->font()))) << row;
        for (const QRect& other : cells) EXPECT_FALSE(cell.intersects(other)) << row;
        cells.push_back(cell);
    }
    EXPECT_GT(cells[1].left(), cells[0].left());
}

TEST(FileListView, LongNamesWrapToTwoLinesEndingInAnEllipsis) {
    const QFont font = QApplication::font();
    const int width = IconCellSize(font).width() - 8;
    EXPECT_EQ(IconLabelLines("notes.txt", font, width), QStringList{"notes.txt"});
    const QStringList lines = IconLabelLines(
        "Minutes of the annual meeting of the board of directors held in March 2004.doc", font, width);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
    const QStringList unbroken = IconLabelLines(QString(80, 'W') + ".DAT", font, width);
    ASSERT_EQ(unbroken.size(), 2);
    EXPECT_TRUE(unbroken[1].endsWith(QChar(0x2026)));
    for (const QString& line : lines + unbroken) EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), width);
}

// Names break after a space, dot, dash or underscore that lets the first line fit; inside a
// word only when that word alone is wider than the line.
TEST(FileListView, NamesWrapAtSeparatorsAndInsideAWordOnlyWhenItIsTooWide) {
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    struct Case {
        QString name;
        QString widthOf;  // the line is exactly as wide as this text
        QStringList lines;
    };
    const Case cases[] = {
        {"drawing.png", "drawing.pn", {"drawing.", "png"}},
        {"IMG_1005.jpg", "IMG_1005.j", {"IMG_1005.", "jpg"}},
        {"IMG_1005.jpg", "IMG_1005", {"IMG_", "1005.jpg"}},
        {"year-end summary.xls", "year-end summar", {"year-end", "summary.xls"}},
        {"annual report.doc", "annual report", {"annual", "report.doc"}},
        {"drawing.png", "drawing.png", {"drawing.png"}},
        {"MMMMMMMMMM.txt", "MMMMMM", {"MMMMMM", "MMMM.txt"}},
    };
    for (const Case& c : cases) {
        const int width = metrics.horizontalAdvance(c.widthOf);
        QStringList expected = c.lines;
        // The second line ends in an ellipsis where it is too wide.
        if (expected.size() == 2) expected[1] = metrics.elidedText(expected[1], Qt::ElideRight, width);
        EXPECT_EQ(IconLabelLines(c.name, font, width), expected) << c.name.toStdString() << " in " << c.widthOf.toStdString();
    }
    EXPECT_EQ(IconLabelLines("drawing.png", font, metrics.horizontalAdvance("drawing.png") - 1),
              (QStringList{"drawing.", "png"}));
    EXPECT_EQ(IconLabelLines("MMMMMMMMMM", font, metrics.horizontalAdvance("MMMMMM") - 1),
              (QStringList{"MMMMM", "MMMMM"}));
}

// The editor of a name in the Icons look covers the item's own name, inside its cell, and
// stays there while a long name is typed: the neighbours' names stay in sight.
TEST(FileListView, TheIconsLooksRenameEditorKeepsInsideItsCell) {
    FileListView view;
    QListView* icons =
        ShowTwelveIcons(view, [](int number) { return "Meeting notes " + std::to_string(number) + ".doc"; });
    const int edited = 5;
    view.selectRow(edited);
    view.beginEdit(edited, 255);
    auto* editor = view.findChild<QLineEdit*>("RenameEditor");
    ASSERT_NE(editor, nullptr);
    for (const QString& text : {QString("Meeting notes 5.doc"), QString(60, 'W') + ".doc"}) {
        editor->setText(text);
        QApplication::processEvents();
        const QRect cell = icons->visualRect(view.model().index(edited, 0));
        const QRect shown = editor->geometry();
        EXPECT_TRUE(cell.contains(shown)) << text.toStdString();
        EXPECT_TRUE(shown.contains(IconLabelRect(cell, icons->font()))) << "its own name is covered";
        for (int row = 0; row < 12; ++row) {
            if (row == edited) continue;
            const QRect other = icons->visualRect(view.model().index(row, 0));
            EXPECT_FALSE(shown.intersects(IconLabelRect(other, icons->font()))) << row << " " << text.toStdString();
        }
    }
    QTest::keyClick(editor, Qt::Key_Escape);
}

// A name edited in either look ends once, and Qt has nothing to complain about.
TEST(FileListView, RenamingInEachLookEndsOnceWithoutWarnings) {
    test::QtWarningLog log;
    FileListView view;
    view.resize(500, 300);
    view.setColumns(BrowseColumns());
    for (int number = 0; number < 5; ++number) view.model().appendRow(FileRow(number));
    view.show();
    std::vector<std::pair<int, QString>> ended;
    QObject::connect(&view, &FileListView::editEnded, [&](int row, std::optional<QString> text) {
        ended.emplace_back(row, text.value_or("(cancelled)"));
    });
    for (ListViewMode mode : {ListViewMode::Details, ListViewMode::Icons, ListViewMode::List}) {
        view.setMode(mode);
        view.selectRow(2);
        view.beginEdit(2, 255);
        auto* editor = view.findChild<QLineEdit*>("RenameEditor");
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->isVisible());
        editor->setText("renamed.txt");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const std::vector<std::pair<int, QString>> expected(3, {2, "renamed.txt"});
    EXPECT_EQ(ended, expected);
    // The offscreen platform itself says what it cannot do; that is not the program's doing.
    for (const std::string& warning : log.warnings())
        if (warning.find("This plugin does not support") == std::string::npos) ADD_FAILURE() << warning;
}

}  // namespace
}  // namespace lumbra
