// The wizard as an ordinary user on a disk only root may read: the disk is listed without any
// question, administrator rights are asked (of a stand-in for pkexec) only when the user goes on
// with it, and a refusal leaves the disk step as it was. In the F mode the rights are asked at
// start-up, when the BIOS libraries are given their disks.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/device_rights.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

namespace fs = std::filesystem;

class WizardDeviceRights : public WizardTest {
protected:
    void SetUp() override {
        image = WriteImage(StandardImage());
        loop = std::make_unique<RootOnlyLoopDevice>(image);
    }

    // The stand-in's folder, or "" with the reason in `why`.
    std::string StandIn(int exitStatus, std::string& why) {
        if (loop->device().empty()) {
            why = loop->why();
            return "";
        }
        return InstallPkexecStandIn(scratch, exitStatus, why);
    }

    // Starts the wizard over the machine's disks and `images`; the label of the loop device's
    // row, or "" when it is not listed.
    std::string StartOnTheMachine(const std::vector<std::string>& images = {}) {
        wizard = std::make_unique<WizardController>(session, view, desktop);
        if (!wizard->StartUp(DriveSources{.listSystemDisks = true, .images = images}, OpenDeviceHelperFolder())) return "";
        const auto& rows = session.disk.driveTable().rows;
        for (size_t row = 0; row < rows.size(); ++row)
            if (rows[row].path == loop->device()) return DriveLabel(row);
        return "";
    }

    // Starts the wizard in the F mode, the BIOS libraries serving `images` (rows 0, 1, ...).
    bool StartInTheFMode(const std::vector<std::string>& images) {
        wizard = std::make_unique<WizardController>(biosSession, view, desktop);
        return wizard->StartUp(DriveSources{.listSystemDisks = false, .images = images, .imagesAreBiosDrives = true},
                               OpenDeviceHelperFolder());
    }

    std::string image;
    std::unique_ptr<RootOnlyLoopDevice> loop;
    Session biosSession{AccessMode::F};
};

TEST_F(WizardDeviceRights, AnOrdinaryUserMountsARootOnlyDiskThroughTheHelper) {
    std::string why;
    const std::string standIn = StandIn(0, why);
    if (standIn.empty()) GTEST_SKIP() << why;
    const std::string saves = scratch.file("saves");
    fs::create_directories(saves);
    ASSERT_EQ(chown(saves.c_str(), kNobody, kNobody), 0);

    const std::string answer = RunAsNobody(standIn, [&] {
        const std::string label = StartOnTheMachine();
        if (label.empty()) return std::string("the loop device is not listed");
        std::string seen = "start messages " + std::to_string(view.messages.size());
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, label), TreeHitPart::Label);
        wizard->OnNext();
        seen += "; pools";
        for (const std::string& pool : view.treeChildren(TreeKind::Pools)) seen += " " + pool;
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Pools, "POOL1"), TreeHitPart::Label);
        wizard->OnNext();
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Volumes, "DATA"), TreeHitPart::Label);
        wizard->OnNext();
        wizard->WaitForWorker();
        seen += "; rows";
        for (const std::string& row : RowNames()) seen += " " + row;
        view.saveName = saves + "/scan";
        wizard->OnCommand(Command::SaveSnapshot);
        for (const std::string& message : Messages()) seen += "; " + message;
        return seen;
    });
    EXPECT_EQ(answer, "start messages 0; pools POOL1; rows Documents Pictures readme.txt empty.txt");
    struct stat info {};
    ASSERT_EQ(stat((saves + "/SCAN.QVDX").c_str(), &info), 0) << answer;
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
}

TEST_F(WizardDeviceRights, RightsNotGivenKeepTheDiskStepAndOtherDrivesStillWork) {
    for (int status : {126, 127}) {
        std::string why;
        const std::string standIn = StandIn(status, why);
        if (standIn.empty()) GTEST_SKIP() << why;
        const std::string answer = RunAsNobody(standIn, [&] {
            const std::string label = StartOnTheMachine({image});
            if (label.empty()) return std::string("the loop device is not listed");
            wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, label), TreeHitPart::Label);
            wizard->OnNext();
            std::string seen;
            for (const ShownMessage& message : view.messages)
                seen += (message.kind == MessageKind::Error ? "error: " : "other: ") + message.text + "\n";
            const bool stayed = session.wizard.currentStep() == WizardStep::StepDisks &&
                                view.visible(Element::DriveTree) && view.enabled(Element::NextButton) &&
                                view.visible(Element::NextButton) && !view.visible(Element::BackButton);
            seen += stayed ? "stayed\n" : "moved on\n";
            // The image, the last row, is read as ever.
            const std::string imageLabel = DriveLabel(session.disk.driveTable().count() - 1);
            wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, imageLabel), TreeHitPart::Label);
            wizard->OnNext();
            seen += session.wizard.currentStep() == WizardStep::StepPools ? "image read" : "image not read";
            return label + "\n" + seen;
        });
        const std::string label = answer.substr(0, answer.find('\n'));
        EXPECT_EQ(answer, label + "\nerror: Administrator rights were not given, so " + label +
                              " cannot be read.\nstayed\nimage read")
            << status;
    }
}

// The F mode: the program opens the disk through the helper before the BIOS libraries are
// loaded, and they read the descriptor it passed.
TEST_F(WizardDeviceRights, TheBiosLibrariesReadARootOnlyDiskThroughTheHelper) {
    std::string why;
    const std::string standIn = StandIn(0, why);
    if (standIn.empty()) GTEST_SKIP() << why;
    const std::string answer = RunAsNobody(standIn, [&] {
        if (access(loop->device().c_str(), R_OK) == 0) return std::string("nobody may read the disk itself");
        if (!StartInTheFMode({loop->device()})) return std::string("the wizard did not start");
        const DriveEntry& row = biosSession.disk.driveTable().rows.at(0);
        std::string seen = row.path + " " + std::to_string(row.totalSectors) + " sectors; start messages " +
                           std::to_string(view.messages.size());
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, DriveLabel(0)), TreeHitPart::Label);
        wizard->OnNext();
        seen += "; pools";
        for (const std::string& pool : view.treeChildren(TreeKind::Pools)) seen += " " + pool;
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Pools, "POOL1"), TreeHitPart::Label);
        wizard->OnNext();
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Volumes, "DATA"), TreeHitPart::Label);
        wizard->OnNext();
        wizard->WaitForWorker();
        seen += "; rows";
        for (const std::string& name : RowNames()) seen += " " + name;
        for (const std::string& message : Messages()) seen += "; " + message;
        return seen;
    });
    // 12000 sectors in whole cylinders of 16 heads and 63 sectors.
    EXPECT_EQ(answer, loop->device() + " 12096 sectors; start messages 0; pools POOL1; rows Documents Pictures "
                                       "readme.txt empty.txt");
}

TEST_F(WizardDeviceRights, RightsNotGivenInTheFModeKeepTheDiskStepAndTheImageStillWorks) {
    for (int status : {126, 127}) {
        std::string why;
        const std::string standIn = StandIn(status, why);
        if (standIn.empty()) GTEST_SKIP() << why;
        const std::string answer = RunAsNobody(standIn, [&] {
            if (!StartInTheFMode({loop->device(), image})) return std::string("the wizard did not start");
            std::string seen = "start messages " + std::to_string(view.messages.size()) + "\n";
            wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, DriveLabel(0)), TreeHitPart::Label);
            wizard->OnNext();
            for (const ShownMessage& message : view.messages)
                seen += (message.kind == MessageKind::Error ? "error: " : "other: ") + message.text + "\n";
            const bool stayed = biosSession.wizard.currentStep() == WizardStep::StepDisks &&
                                view.visible(Element::DriveTree) && view.enabled(Element::NextButton) &&
                                view.visible(Element::NextButton) && !view.visible(Element::BackButton);
            seen += stayed ? "stayed\n" : "moved on\n";
            wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, DriveLabel(1)), TreeHitPart::Label);
            wizard->OnNext();
            seen += biosSession.wizard.currentStep() == WizardStep::StepPools ? "image read" : "image not read";
            return seen;
        });
        EXPECT_EQ(answer, "start messages 0\nerror: Administrator rights were not given, so " + DriveLabel(0) +
                              " cannot be read.\nstayed\nimage read")
            << status;
    }
}

}  // namespace
}  // namespace lumbra::test
