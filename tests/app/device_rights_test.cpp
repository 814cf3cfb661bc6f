// The wizard as an ordinary user on a disk only root may read: the disk is listed without any
// question, administrator rights are asked (of a stand-in for pkexec) only when the user goes on
// with it, and a refusal leaves the disk step as it was. In the F mode the rights are asked at
// start-up, when the BIOS libraries are given their disks.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

    // Goes on with the drive of this label to the files of volume DATA of pool POOL1: the pools
    // seen on the way, then the rows of the list.
    std::string WalkToTheFiles(const std::string& label) {
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, label), TreeHitPart::Label);
        wizard->OnNext();
        wizard->WaitForWorker();
        std::string seen = "pools";
        for (const std::string& pool : view.treeChildren(TreeKind::Pools)) seen += " " + pool;
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Pools, "POOL1"), TreeHitPart::Label);
        wizard->OnNext();
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Volumes, "DATA"), TreeHitPart::Label);
        wizard->OnNext();
        wizard->WaitForWorker();
        seen += "; rows";
        for (const std::string& row : RowNames()) seen += " " + row;
        return seen;
    }

    // Next on the drive whose rights are not given, then on the image: the messages shown,
    // whether the disk step stayed as it was, and whether the image was read.
    std::string RefusedThenTheImage(const Session& on, const std::string& refused, const std::string& imageLabel) {
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, refused), TreeHitPart::Label);
        wizard->OnNext();
        wizard->WaitForWorker();
        std::string seen;
        for (const ShownMessage& message : view.messages)
            seen += (message.kind == MessageKind::Error ? "error: " : "other: ") + message.text + "\n";
        const bool stayed = on.wizard.currentStep() == WizardStep::StepDisks && view.visible(Element::DriveTree) &&
                            view.enabled(Element::NextButton) && view.visible(Element::NextButton) &&
                            !view.visible(Element::BackButton);
        seen += stayed ? "stayed\n" : "moved on\n";
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, imageLabel), TreeHitPart::Label);
        wizard->OnNext();
        wizard->WaitForWorker();
        return seen + (on.wizard.currentStep() == WizardStep::StepPools ? "image read" : "image not read");
    }

    // A folder user nobody may write, for the gate of the stand-in and the scan states.
    std::string NobodysFolder(const std::string& name) {
        const std::string folder = scratch.file(name);
        fs::create_directories(folder);
        if (chown(folder.c_str(), kNobody, kNobody) != 0) return "";
        return folder;
    }

    // As user nobody: goes on with the loop device's drive under `option`, looks at the step
    // while the gated stand-in asks (WhileAsking), then lets it answer and waits for the end.
    std::string NextWhileAsking(const std::string& standIn, const std::string& gate, uint16_t option) {
        const std::string label = StartOnTheMachine();
        if (label.empty()) return "the loop device is not listed";
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, label), TreeHitPart::Label);
        wizard->OnIdentifyOption(option);
        wizard->OnNext();
        if (!WaitUntilStandInAsks(standIn)) return "the stand-in was not asked";
        const std::string seen = WhileAsking(label);
        std::ofstream(gate) << "answered";
        wizard->WaitForWorker();
        return seen + "\n";
    }

    // What the disk step shows while the stand-in asks, and whether Next, Back, another drive
    // and the option buttons are all refused meanwhile.
    std::string WhileAsking(const std::string& label) {
        std::string seen = view.visible(Element::StatusLine) ? view.text(Element::StatusLine) : "no status";
        seen += session.wizard.currentStep() == WizardStep::StepDisks ? "; disk step" : "; left the disk step";
        if (view.visible(Element::NextButton) || view.visible(Element::BackButton)) seen += "; Next or Back offered";
        if (view.enabled(Element::DriveTree) || view.visible(Element::UsePartitionTable)) seen += "; drives choosable";
        if (wizard->CommandEnabled(Command::Settings)) seen += "; settings offered";
        const size_t calls = view.logged().size();
        wizard->OnNext();
        wizard->OnBack();
        wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, DriveLabel(0)), TreeHitPart::Label);
        wizard->OnIdentifyOption(kUsePartitionTable);
        if (const std::vector<std::string> log = view.logged(); log.size() != calls)
            seen += "; answered a click: " + log.back();
        return label + ": " + seen;
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
        std::string seen = "start messages " + std::to_string(view.messages.size()) + "; ";
        seen += WalkToTheFiles(label);
        view.saveName = saves + "/scan";
        wizard->OnCommand(Command::SaveSnapshot);
        for (const std::string& message : Messages()) seen += "; " + message;
        return seen;
    });
    EXPECT_EQ(answer, "start messages 0; pools POOL1; rows Documents Pictures readme.txt empty.txt; "
                      "The recovery snapshot was saved to " + saves + "/SCAN.QVDX.");
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
            // The image, the last row, is read as ever.
            const std::string imageLabel = DriveLabel(session.disk.driveTable().count() - 1);
            return label + "\n" + RefusedThenTheImage(session, label, imageLabel);
        });
        const std::string label = answer.substr(0, answer.find('\n'));
        EXPECT_EQ(answer, label + "\nerror: Administrator rights were not given, so " + label +
                              " cannot be read.\nstayed\nimage read")
            << status;
    }
}

TEST_F(WizardDeviceRights, WithoutPkexecTheMessageSaysNoQuestionCanBeAskedAndHowToGoOn) {
    if (loop->device().empty()) GTEST_SKIP() << loop->why();
    const std::string nothing = NobodysFolder("no-programs");
    const std::string answer = RunAsNobody(nothing, [&] {
        setenv("PATH", nothing.c_str(), 1);
        const std::string label = StartOnTheMachine({image});
        if (label.empty()) return std::string("the loop device is not listed");
        const std::string imageLabel = DriveLabel(session.disk.driveTable().count() - 1);
        return label + "\n" + RefusedThenTheImage(session, label, imageLabel);
    });
    const std::string label = answer.substr(0, answer.find('\n'));
    EXPECT_EQ(answer, label + "\nerror: This system has no way to ask for administrator rights (pkexec is not "
                              "installed), so " + label + " cannot be read.\r\nStart the program with sudo, or have "
                              "your account added to the disk group (then log in again).\nstayed\nimage read");
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
                           std::to_string(view.messages.size()) + "; ";
        seen += WalkToTheFiles(DriveLabel(0));
        for (const std::string& message : Messages()) seen += "; " + message;
        return seen;
    });
    // The image's sectors in whole cylinders of 16 heads and 63 sectors.
    const uint64_t cylinders = (fs::file_size(image) / 512 + 1007) / 1008;
    EXPECT_EQ(answer, loop->device() + " " + std::to_string(cylinders * 1008) +
                          " sectors; start messages 0; pools POOL1; rows Documents Pictures readme.txt empty.txt");
}

TEST_F(WizardDeviceRights, RightsNotGivenInTheFModeKeepTheDiskStepAndTheImageStillWorks) {
    for (int status : {126, 127}) {
        std::string why;
        const std::string standIn = StandIn(status, why);
        if (standIn.empty()) GTEST_SKIP() << why;
        const std::string answer = RunAsNobody(standIn, [&] {
            if (!StartInTheFMode({loop->device(), image})) return std::string("the wizard did not start");
            const std::string started = "start messages " + std::to_string(view.messages.size()) + "\n";
            return started + RefusedThenTheImage(biosSession, DriveLabel(0), DriveLabel(1));
        });
        EXPECT_EQ(answer, "start messages 0\nerror: Administrator rights were not given, so " + DriveLabel(0) +
                              " cannot be read.\nstayed\nimage read")
            << status;
    }
}

// Next returns while pkexec asks: the step says what it waits for and takes no other choice;
// the answer, given only after Next has returned, then takes the wizard on, by the partition
// table and by a scan alike.
TEST_F(WizardDeviceRights, NextReturnsWhileTheQuestionIsOpenAndGoesOnWithTheAnswer) {
    for (const uint16_t option : {kUsePartitionTable, kSearchPartition}) {
        const std::string gates = NobodysFolder("gates-" + std::to_string(option));
        const std::string gate = gates + "/answered";
        std::string why;
        const std::string standIn = loop->device().empty() ? "" : InstallPkexecStandIn(scratch, 0, why, gate);
        if (standIn.empty()) GTEST_SKIP() << (loop->device().empty() ? loop->why() : why);
        const std::string answer = RunAsNobody(standIn, [&] {
            session.scanStates = ScanStateStore(gates + "/scan-states");
            std::string seen = NextWhileAsking(standIn, gate, option);
            for (const std::string& pool : view.treeChildren(TreeKind::Pools)) seen += pool + " ";
            seen += session.wizard.currentStep() == WizardStep::StepPools ? "pool step" : "not the pool step";
            if (view.visible(Element::DriveTree) || view.visible(Element::UsePartitionTable)) seen += "; disk step shown";
            if (!view.visible(Element::BackButton) || !view.enabled(Element::BackButton)) seen += "; no Back";
            for (const std::string& message : Messages()) seen += "; " + message;
            return seen;
        });
        const std::string label = answer.substr(0, answer.find(':'));
        EXPECT_EQ(answer, label + ": Waiting for administrator rights to read " + label + " ...; disk step\nPOOL1 pool step")
            << option;
    }
}

// A question dismissed or refused after a while ends the wait where it began.
TEST_F(WizardDeviceRights, RightsNotGivenAfterAWaitKeepTheDiskStep) {
    for (int status : {126, 127}) {
        const std::string gate = NobodysFolder("gates-" + std::to_string(status)) + "/answered";
        std::string why;
        const std::string standIn = loop->device().empty() ? "" : InstallPkexecStandIn(scratch, status, why, gate);
        if (standIn.empty()) GTEST_SKIP() << (loop->device().empty() ? loop->why() : why);
        const std::string answer = RunAsNobody(standIn, [&] {
            std::string seen = NextWhileAsking(standIn, gate, kSearchPartition);
            for (const ShownMessage& message : view.messages)
                seen += (message.kind == MessageKind::Error ? "error: " : "other: ") + message.text + "\n";
            const bool stayed = session.wizard.currentStep() == WizardStep::StepDisks && !session.wizard.busy() &&
                                view.visible(Element::DriveTree) && view.enabled(Element::DriveTree) &&
                                view.visible(Element::NextButton) && !view.visible(Element::BackButton) &&
                                view.visible(Element::SearchPartition) && view.visible(Element::StartField) &&
                                !view.visible(Element::StatusLine) && wizard->CommandEnabled(Command::Settings);
            seen += stayed ? "stayed" : "moved on";
            return seen;
        });
        const std::string label = answer.substr(0, answer.find(':'));
        EXPECT_EQ(answer, label + ": Waiting for administrator rights to read " + label +
                              " ...; disk step\nerror: Administrator rights were not given, so " + label +
                              " cannot be read.\nstayed")
            << status;
    }
}

}  // namespace
}  // namespace lumbra::test
