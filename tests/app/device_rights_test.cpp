// The wizard as an ordinary user on a disk only root may read: the disk is listed without any
// question, administrator rights are asked (of a stand-in for pkexec) only when the user goes on
// with it, and a refusal leaves the disk step as it was.
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

    std::string image;
    std::unique_ptr<RootOnlyLoopDevice> loop;
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

}  // namespace
}  // namespace lumbra::test
