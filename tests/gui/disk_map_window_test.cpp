// The Disk Map window over the demo disk with a rescue map: the damaged cell, the files it
// lists, the browse list they lead to, the outline of the chosen file and the PNG.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolTip>

#include "disk/rescue_map.h"
#include "gui/disk_map_window.h"
#include "gui/file_list_view.h"
#include "gui/latin1.h"
#include "picture/picture_legend.h"
#include "gui_harness.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

using test::MainWindowHarness;

// The largest file of USERS, alone in its cells, and the disk sector of its second one.
struct DamagedFile {
    std::string name;
    uint64_t sector = 0;
};

DamagedFile PickFile() {
    const test::BuiltPool& pool = test::DemoImage().pool("OFFICE");
    const test::BuiltFile* largest = nullptr;
    for (const test::BuiltFile& file : pool.volume("USERS").files)
        if (!file.duplicate && !file.lostByDamage && file.runs.size() == 1 && (!largest || file.size > largest->size))
            largest = &file;
    if (!largest) return {};
    return {largest->expectedName(), *pool.toDiskSector(largest->firstBlock * 8 + 1)};
}

// Everything rescued but `sector`.
RescueMap MapMissing(uint64_t sector, uint64_t diskBytes) {
    const std::string text = "0 +\n0 " + std::to_string(sector * 512) + " +\n" + std::to_string(sector * 512) + " 512 -\n" +
                             std::to_string(sector * 512 + 512) + " " + std::to_string(diskBytes - sector * 512 - 512) + " +\n";
    return std::get<RescueMap>(ParseRescueMap(text));
}

TEST(DiskMapWindow, TheDamagedCellLeadsToItsFileInTheBrowseListWhoseRunsAreThenOutlined) {
    const DamagedFile damaged = PickFile();
    ASSERT_FALSE(damaged.name.empty());
    MainWindowHarness h;
    h.session.disk.setRescueMap(0, MapMissing(damaged.sector, test::DemoImage().sizeBytes()));
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    EXPECT_FALSE(h.wizard->CommandEnabled(Command::DiskMap));  // no drive open yet
    h.clickNext();
    ASSERT_TRUE(h.waitForStep(WizardStep::StepPools));
    EXPECT_TRUE(h.wizard->CommandEnabled(Command::DiskMap));
    test::WalkToBrowse(h, "OFFICE", false, "USERS");
    h.chooseCommand(Command::DiskMap);
    DiskMapWindow* map = h.window->diskMapWindow();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    DiskMapCanvas& canvas = map->canvas();

    std::vector<size_t> damagedCells;
    for (size_t i = 0; i < canvas.gridCells().size(); ++i)
        if (canvas.gridCells()[i].dominant == PictureKind::Damaged) damagedCells.push_back(i);
    ASSERT_EQ(damagedCells.size(), 1u);
    const PictureCell cell = canvas.gridCells()[damagedCells[0]];
    EXPECT_TRUE(damaged.sector >= cell.first && damaged.sector < cell.first + cell.count);

    // No copy has read the files' data yet: cells of it are drawn faded over its colour, until
    // their sectors are read (as a copy reads them) and the timer's next step comes.
    size_t unread = canvas.gridCells().size();
    for (size_t i = 0; i < canvas.gridCells().size() && unread == canvas.gridCells().size(); ++i)
        if (canvas.gridCells()[i].dominant == PictureKind::NeverRead && FadedKind(canvas.gridCells()[i].kinds) == PictureKind::FileData)
            unread = i;
    ASSERT_LT(unread, canvas.gridCells().size());
    const PictureCell before = canvas.gridCells()[unread];
    std::vector<uint8_t> buffer(before.count * 512);
    h.session.reader->ReadSectors(before.first, static_cast<uint32_t>(before.count), buffer.data());
    map->follow();
    EXPECT_EQ(canvas.gridCells()[unread].dominant, PictureKind::FileData);

    const QPoint centre = canvas.gridCellRect(damagedCells[0]).center();
    QHelpEvent help(QEvent::ToolTip, centre, canvas.mapToGlobal(centre));
    QApplication::sendEvent(&canvas, &help);
    EXPECT_TRUE(QToolTip::text().contains("damaged")) << QToolTip::text().toStdString();
    EXPECT_TRUE(QToolTip::text().contains(Latin1(damaged.name).toHtmlEscaped())) << QToolTip::text().toStdString();

    QTest::mouseClick(&canvas, Qt::LeftButton, {}, centre);
    QListWidget& files = map->cellFiles();
    QListWidgetItem* chosen = nullptr;
    for (int i = 0; i < files.count(); ++i)
        if (files.item(i)->text().endsWith("\\" + Latin1(damaged.name))) chosen = files.item(i);
    ASSERT_NE(chosen, nullptr);
    files.scrollToItem(chosen);
    QTest::mouseClick(files.viewport(), Qt::LeftButton, {}, files.visualItemRect(chosen).center());
    const int row = h.window->fileList().selectionMark();
    ASSERT_GE(row, 0);
    EXPECT_EQ(h.listCell(row, 0), Latin1(damaged.name));

    map->follow();
    ASSERT_FALSE(canvas.outline().empty());
    EXPECT_LE(canvas.outline().front().first, damaged.sector);
    EXPECT_GT(canvas.outline().back().end(), damaged.sector);

    test::ScratchFolder scratch("disk_map_window");
    const std::string png = scratch.file("map.png");
    ASSERT_TRUE(map->savePng(QString::fromStdString(png)));
    QImage saved(QString::fromStdString(png));
    EXPECT_EQ(saved.size(), canvas.size() * canvas.devicePixelRatioF());
    QString why;
    EXPECT_FALSE(map->savePng(QString::fromStdString(test::DemoImagePath()), &why));
    EXPECT_FALSE(why.isEmpty());
}

// A sector typed in decimal or hexadecimal selects its cell and lists what lies there; what is
// no sector of the disk says so. Every legend line is whole.
TEST(DiskMapWindow, ASectorTypedSelectsItsCellAndListsItsFiles) {
    const DamagedFile file = PickFile();
    ASSERT_FALSE(file.name.empty());
    MainWindowHarness h;
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    test::WalkToBrowse(h, "OFFICE", false, "USERS");
    h.chooseCommand(Command::DiskMap);
    DiskMapWindow* map = h.window->diskMapWindow();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    DiskMapCanvas& canvas = map->canvas();
    const uint64_t last = canvas.picture()->diskSectors() - 1;
    struct Case {
        QString typed;
        std::optional<uint64_t> sector;
    };
    for (const Case& c : {Case{QString::number(file.sector), file.sector},
                          Case{" 0x" + QString::number(file.sector, 16).toUpper(), file.sector}, Case{"0", 0},
                          Case{QString::number(last), last}, Case{QString::number(last + 1), std::nullopt},
                          Case{"0x", std::nullopt}, Case{"-1", std::nullopt}, Case{"12a", std::nullopt}}) {
        map->sectorField().clear();
        QTest::keyClicks(&map->sectorField(), c.typed);
        QTest::keyClick(&map->sectorField(), Qt::Key_Return);
        const auto cell = canvas.selectedCell();
        ASSERT_EQ(cell.has_value(), c.sector.has_value()) << c.typed.toStdString();
        QListWidget& files = map->cellFiles();
        ASSERT_GT(files.count(), 0);
        if (!c.sector) {
            EXPECT_TRUE(files.item(0)->text().contains("is no sector of this disk")) << files.item(0)->text().toStdString();
            continue;
        }
        EXPECT_LE(cell->first, *c.sector);
        EXPECT_GT(cell->first + cell->count, *c.sector);
        if (*c.sector != file.sector) continue;
        EXPECT_LE(cell->count, canvas.gridCells().front().count) << "the pool grid's cell, not the whole disk bar's";
        bool listed = false;
        for (int i = 0; i < files.count(); ++i) listed = listed || files.item(i)->text().endsWith("\\" + Latin1(file.name));
        EXPECT_TRUE(listed) << c.typed.toStdString();
    }

    const int columns = canvas.legendColumns();
    const int room = (DiskMapCanvas::kGridColumns * DiskMapCanvas::kCellSize) / columns - 20;
    EXPECT_GE(canvas.width(), DiskMapCanvas::kGridColumns * DiskMapCanvas::kCellSize + 2 * DiskMapCanvas::kMargin);
    for (const LegendEntry& entry : PictureLegend(*canvas.picture())) {
        const QString text = QString::fromStdString(entry.name) + ": " + QString::fromStdString(SizeText(entry.sectors));
        EXPECT_LE(canvas.fontMetrics().horizontalAdvance(text), room) << text.toStdString();
    }
}

}  // namespace
}  // namespace lumbra
