#pragma once
// A wizard over builder images written to a scratch folder, with the recording fake View and
// the fake desktop, and the steps of a walk as short calls.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/wizard_controller.h"
#include "disk/sector.h"
#include "support/fake_desktop.h"
#include "support/fake_view.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra::test {

// One pool "POOL1" at sector 2048 with the volume "DATA": two folders, files in the root and
// in "Documents", one empty file.
inline VolumePlan StandardVolume() {
    VolumePlan volume{.name = "DATA"};
    const uint64_t documents = volume.addFolder("Documents");
    volume.addFolder("Pictures");
    volume.addFile("Report.doc", documents, 12345);
    volume.addFile("Big.bin", documents, 1048576);
    volume.addFile("readme.txt", 0, 5000);
    volume.addFile("empty.txt", 0, 0);
    return volume;
}

inline NssImage StandardImage() {
    return NssImageBuilder()
        .pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {StandardVolume()}})
        .build();
}

// A disk whose partition table is gone: the pools are found only by a scan.
inline NssImage LostTableImage() {
    return NssImageBuilder()
        .pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {StandardVolume()}})
        .pool("SECOND", {.headerSector = 6000, .header = {.chain = 1}})
        .noMbr()
        .diskSectors(12000)
        .build();
}

class WizardTest : public ::testing::Test {
protected:
    std::string WriteImage(const NssImage& image, const std::string& name = "disk.img") {
        const std::string path = scratch.file(name);
        image.writeTo(path);
        return path;
    }

    // Starts the wizard over these image files (rows 0, 1, ...).
    void Start(const std::vector<std::string>& images,
               std::vector<std::pair<size_t, RescueMap>> rescueMaps = {}) {
        desktop.temporaryFolder = scratch.file("temp") + "/";
        session.scanStates = ScanStateStore(scratch.file("scan-states"));
        std::filesystem::create_directories(scratch.file("temp"));
        wizard = std::make_unique<WizardController>(session, view, desktop);
        ASSERT_TRUE(wizard->StartUp(
            DriveSources{.listSystemDisks = false, .images = images, .rescueMaps = std::move(rescueMaps)}, programFolder));
    }
    void StartStandard() { Start({WriteImage(StandardImage())}); }
    // Starts over the image, whose rescue map leaves `bytes` from disk sector `sector` unrescued.
    void StartWithUnrescued(const NssImage& image, uint64_t sector, uint64_t bytes) {
        RescueMap map;
        map.unrescued = {{sector * kSectorSize, bytes}};
        map.coveredEnd = image.sizeBytes();
        Start({WriteImage(image)}, {{0, map}});
    }
    // The disk sector of sector `sectorInFile` of the first pool's first volume's file `name`.
    static uint64_t FileSector(const NssImage& image, const std::string& name, uint64_t sectorInFile) {
        const BuiltPool& pool = image.pools().at(0);
        for (const BuiltFile& file : pool.volumes.at(0).files)
            if (file.expectedName() == name) return *pool.toDiskSector(file.firstBlock * kSectorsPerBlock + sectorInFile);
        ADD_FAILURE() << "no file " << name;
        return 0;
    }

    void ClickTree(TreeKind kind, const std::string& text, TreeHitPart part = TreeHitPart::Label) {
        const uint32_t item = view.findTreeItem(kind, text);
        ASSERT_NE(item, 0u) << text;
        wizard->OnLeftTreeClick(item, part);
    }
    void ClickDrive(int row) { ClickTree(TreeKind::Drives, "Storage Device" + std::to_string(row)); }

    // Drive 0 by the partition table, up to the pool step.
    void ToPools() {
        ClickDrive(0);
        wizard->OnNext();
        ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    }
    // Pool POOL1, volume based unless pool based is asked for, up to the volume step.
    void ToVolumes(bool poolBased = false, const std::string& pool = "POOL1") {
        ToPools();
        ClickTree(TreeKind::Pools, pool);
        view.modeDialog = [poolBased](ModeOfRecoveryValues& values) {
            values.volumeBasedChecked = !poolBased;
            values.poolBasedChecked = poolBased;
            return true;
        };
        wizard->OnNext();
        ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepVolumes);
    }
    // Mounts the volume and waits for the worker.
    void ToBrowse(const std::string& volume = "DATA", bool poolBased = false) {
        ToVolumes(poolBased);
        ClickTree(TreeKind::Volumes, volume);
        wizard->OnNext();
        wizard->WaitForWorker();
        ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepBrowse);
    }

    // The index of the list row with this name; -1 when none.
    int RowNamed(const std::string& name) const {
        for (size_t i = 0; i < view.rows.size(); ++i)
            if (view.rows[i].name == name) return static_cast<int>(i);
        return -1;
    }
    void MarkRow(const std::string& name) {
        view.selectionMark = RowNamed(name);
        ASSERT_GE(view.selectionMark, 0) << name;
        wizard->OnListFocused();
    }
    std::vector<std::string> RowNames() const {
        std::vector<std::string> names;
        for (const ItemRow& row : view.rows) names.push_back(row.name);
        return names;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : view.messages) texts.push_back(message.text);
        return texts;
    }
    std::string Caption(int row) const { return view.text(InfoCaption(row)); }
    std::string Value(int row) const { return view.text(InfoValue(row)); }
    std::string QuickHelpNow() const { return view.lastQuickHelp(); }

    ScratchFolder scratch{"wizard"};
    FakeView view;
    FakeDesktop desktop;
    std::string programFolder;  // the program's folder StartUp is given
    Session session{AccessMode::N};
    std::unique_ptr<WizardController> wizard;
};

}  // namespace lumbra::test
