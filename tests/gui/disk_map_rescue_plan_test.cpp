// The Disk Map's "Save Rescue Plan..." over the demo disk in the browse step: the choice of
// sectors, the file it goes to, what it holds, and the refusal of a file the run reads. Run on
// an X server with a window manager (tool_tip_x11_check.sh), the pointer clicks through it for
// real and the screen is grabbed with the choice open; elsewhere the clicks are Qt's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "disk/rescue_map.h"
#include "disk/sector.h"
#include "gui/disk_map_window.h"
#include "gui/file_list_view.h"
#include "gui_harness.h"
#include "picture/disk_facts.h"
#include "support/qt/balloon_on_screen.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

using test::MainWindowHarness;

bool OnX() { return QGuiApplication::platformName() == "xcb"; }

// A click the way a user makes it: on X the pointer moves there and presses. A radio button
// is clicked on its round mark, which takes clicks wherever the layout stretches it to.
void Click(QWidget& widget) {
    const QPoint centre =
        qobject_cast<QRadioButton*>(&widget) ? QPoint(widget.height() / 2, widget.height() / 2) : widget.rect().center();
    if (!OnX()) {
        QTest::mouseClick(&widget, Qt::LeftButton, {}, centre);
        return;
    }
    const QPoint global = widget.mapToGlobal(centre);
    ASSERT_TRUE(test::MovePointer(global));
    ASSERT_EQ(QProcess::execute("xdotool", {"click", "1"}), 0);
}

// The "+" areas of a plan file, merged.
std::vector<SectorRange> PlanRanges(const std::string& path) {
    const auto bytes = test::ReadWholeFile(path);
    const auto parsed = ParseRescueMap(std::string(bytes.begin(), bytes.end()));
    if (!std::holds_alternative<RescueMap>(parsed)) return {{0, 0}};
    const RescueMap& map = std::get<RescueMap>(parsed);
    std::vector<SectorRange> planned;
    uint64_t done = 0;
    for (const SectorRange& hole : UnrescuedSectors(map, map.coveredEnd)) {
        if (hole.first > done) planned.push_back({done, hole.first - done});
        done = hole.end();
    }
    if (done < map.coveredEnd / kSectorSize) planned.push_back({done, map.coveredEnd / kSectorSize - done});
    return planned;
}

// Answers the choice of sectors by clicking the radio button of this name, then OK.
test::ModalAnswerer::Handler Choose(const QString& radio) {
    return [radio](QWidget* widget) {
        ASSERT_EQ(widget->objectName(), "RescuePlanDialog");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget, 20000));
        auto* button = widget->findChild<QRadioButton*>(radio);
        ASSERT_NE(button, nullptr);
        Click(*button);
        ASSERT_TRUE(QTest::qWaitFor([button] { return button->isChecked(); }, 20000));
        if (OnX()) {
            ASSERT_FALSE(test::SettledScreen(radio).isNull());
        }
        for (QPushButton* ok : widget->findChildren<QPushButton*>())
            if (ok->text().remove('&') == "OK") Click(*ok);
    };
}

TEST(DiskMapRescuePlan, TheChoiceOfSectorsAndTheSelectionMakeThePlan) {
    MainWindowHarness h;
    h.clickTreeItem(TreeKind::Drives, "Storage Device0");
    h.clickNext();
    ASSERT_TRUE(h.waitForStep(WizardStep::StepPools));
    test::WalkToBrowse(h, "OFFICE", false, "USERS");
    // The first file of the list that holds data.
    int row = h.firstRow(false);
    const ItemRecord* file = nullptr;
    for (; row >= 0 && row < h.listRows() && !(file && file->size > 0); ++row) {
        const auto shown = h.wizard->fileList().row(row);
        file = shown && shown->kind == ItemRow::Kind::File ? h.session.records.FindFileByItemNumber(std::stoull(shown->key))
                                                           : nullptr;
    }
    ASSERT_TRUE(file && file->size > 0);
    h.window->fileList().selectRows({row - 1});
    h.chooseCommand(Command::DiskMap);
    DiskMapWindow* map = h.window->diskMapWindow();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    auto* save = map->findChild<QPushButton*>("DiskMapSavePlan");
    ASSERT_NE(save, nullptr);
    const uint64_t diskSectors = test::DemoImage().sectorCount();

    test::ScratchFolder scratch("disk_map_rescue_plan");
    const std::string files = scratch.file("files.map");
    h.answers.expect(Choose("RescuePlanFiles"));
    h.answers.expect(test::ChooseFile("RescuePlanSaveDialog", files));
    Click(*save);
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.answers.allAnswered() && std::filesystem::exists(files); }, 20000));
    // The selected file's data alone.
    std::vector<SectorRange> runs = FileSectorRuns(h.session.selectedPool, diskSectors, *file);
    std::sort(runs.begin(), runs.end(), [](const SectorRange& a, const SectorRange& b) { return a.first < b.first; });
    EXPECT_EQ(PlanRanges(files), runs);

    const std::string metadata = scratch.file("metadata.map");
    h.answers.expect(Choose("RescuePlanMetadata"));
    h.answers.expect(test::ChooseFile("RescuePlanSaveDialog", metadata));
    Click(*save);
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.answers.allAnswered() && std::filesystem::exists(metadata); }, 20000));
    const std::vector<SectorRange> planned = PlanRanges(metadata);
    ASSERT_FALSE(planned.empty());
    EXPECT_EQ(planned.front(), (SectorRange{0, 1}));  // the partition table, apart from the pools
    const uint64_t superblock = test::DemoImage().pool("OFFICE").superblockSector;
    EXPECT_TRUE(std::any_of(planned.begin(), planned.end(),
                            [&](const SectorRange& r) { return r.first <= superblock && superblock < r.end(); }));

    // Over the disk image itself: refused with a message, the image untouched.
    const auto before = std::filesystem::last_write_time(test::DemoImagePath());
    h.answers.expect(Choose("RescuePlanUsed"));
    h.answers.expect(test::ChooseFile("RescuePlanSaveDialog", test::DemoImagePath()));
    h.answers.expect([](QWidget* widget) {  // the file dialog's "replace it?"
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::Yes)->click();
    });
    h.answers.expect(h.answers.pressOk());
    Click(*save);
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.answers.allAnswered(); }, 20000));
    ASSERT_FALSE(h.answers.texts().empty());
    EXPECT_NE(h.answers.texts().back().find("read"), std::string::npos) << h.answers.texts().back();
    EXPECT_EQ(std::filesystem::last_write_time(test::DemoImagePath()), before);
}

}  // namespace
}  // namespace lumbra
