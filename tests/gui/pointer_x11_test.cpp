// The file list's list look and the Disk Map's sector field on a real X server, driven by real
// pointer and key events (xdotool), with a grab of the screen kept beside the run's other grabs.
// Elsewhere the tests are skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <algorithm>

#include "gui/disk_map_window.h"
#include "gui/file_list_model.h"
#include "gui/file_list_view.h"
#include "gui/latin1.h"
#include "gui_harness.h"
#include "support/qt/balloon_on_screen.h"

namespace lumbra::test {
namespace {

constexpr int kWaitMs = 20000;

bool Xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

bool ClickAt(const QPoint& global) {
    return MovePointer(global) && Xdotool({"click", "1"});
}

TEST(ListViewOnX, EveryNameIsWholeAndItsEndTakesTheClick) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    QApplication::setCursorFlashTime(0);
    MainWindowHarness h;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get(), kWaitMs));
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    WalkToBrowse(h, "OFFICE", false, "USERS");
    h.clickTreeItem(TreeKind::Directory, "jdupont");
    h.chooseCommand(Command::ListView);
    auto* list = qobject_cast<QListView*>(h.window->fileList().activeView());
    ASSERT_NE(list, nullptr);
    ASSERT_GT(h.listRows(), 2);
    QApplication::processEvents();

    // Every cell holds its whole name beside its icon.
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int row = 0; row < h.listRows(); ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        const int text = metrics.horizontalAdvance(h.listCell(row, 0));
        EXPECT_GE(list->visualRect(index).width(), text + list->iconSize().width()) << h.listCell(row, 0).toStdString();
        if (text > metrics.horizontalAdvance(h.listCell(widest, 0))) widest = row;
    }
    // A click on the last letters of the widest name selects its row.
    const QModelIndex index = list->model()->index(widest, 0);
    list->scrollTo(index);
    const QRect cell = list->visualRect(index);
    const int textEnd = cell.left() + list->iconSize().width() + 6 + metrics.horizontalAdvance(h.listCell(widest, 0));
    ASSERT_TRUE(ClickAt(list->viewport()->mapToGlobal(QPoint(std::min(textEnd, cell.right()) - 3, cell.center().y()))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.window->fileList().selectionMark() == widest; }, kWaitMs))
        << h.listCell(widest, 0).toStdString() << " was not selected";
    EXPECT_FALSE(SettledScreen("list-view").isNull());
}

TEST(DiskMapOnX, ASectorTypedInTheFieldSelectsItsCellAndListsItsFiles) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    QApplication::setCursorFlashTime(0);
    MainWindowHarness h;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get(), kWaitMs));
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    WalkToBrowse(h, "OFFICE", false, "USERS");
    h.chooseCommand(Command::DiskMap);
    DiskMapWindow* map = h.window->diskMapWindow();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map, kWaitMs));
    map->raise();
    map->activateWindow();

    // A file's second data sector, in hexadecimal.
    const BuiltPool& pool = DemoImage().pool("OFFICE");
    const BuiltFile* chosen = nullptr;
    for (const BuiltFile& file : pool.volume("USERS").files)
        if (!file.duplicate && !file.lostByDamage && file.size > 4096 && !chosen) chosen = &file;
    ASSERT_NE(chosen, nullptr);
    const uint64_t sector = *pool.toDiskSector(chosen->firstBlock * 8 + 1);
    QLineEdit& field = map->sectorField();
    ASSERT_TRUE(ClickAt(field.mapToGlobal(field.rect().center())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return field.hasFocus(); }, kWaitMs));
    ASSERT_TRUE(Xdotool({"type", "--delay", "20", "0x" + QString::number(sector, 16)}));
    ASSERT_TRUE(Xdotool({"key", "Return"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return map->canvas().selectedCell().has_value(); }, kWaitMs)) << field.text().toStdString();
    const PictureCell cell = *map->canvas().selectedCell();
    EXPECT_LE(cell.first, sector);
    EXPECT_GT(cell.first + cell.count, sector);
    bool listed = false;
    for (int i = 0; i < map->cellFiles().count(); ++i)
        listed = listed || map->cellFiles().item(i)->text().endsWith("\\" + Latin1(chosen->expectedName()));
    EXPECT_TRUE(listed);
    EXPECT_FALSE(SettledScreen("disk-map-sector").isNull());
}

}  // namespace
}  // namespace lumbra::test
