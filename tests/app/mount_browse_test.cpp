#include <gtest/gtest.h>

#include <algorithm>

#include "app/drive_information.h"
#include "app/quick_help.h"
#include "app/snapshot_texts.h"
#include "snapshot/snapshot_reader.h"
#include "support/failing_allocator.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

size_t IndexOf(const std::vector<std::string>& log, const std::string& entry, size_t from = 0) {
    auto found = std::find(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), entry);
    return static_cast<size_t>(found - log.begin());
}

// Pool "POOL1" with the volume "DATA" of 3,000 files: a mount long enough to act in its middle.
NssImage ThreeThousandFiles() {
    VolumePlan big{.name = "DATA"};
    for (int i = 0; i < 3000; ++i) big.addFile("file" + std::to_string(i) + ".txt", 0, 100);
    return NssImageBuilder().pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {big}}).build();
}

TEST_F(WizardTest, TheMountShowsProgressAndEndsInTheBrowseStep) {
    StartStandard();
    ToVolumes();
    ClickTree(TreeKind::Volumes, "DATA");
    const size_t before = view.log.size();
    wizard->OnNext();
    wizard->WaitForWorker();

    const std::vector<std::string>& log = view.log;
    const size_t mountLayout = IndexOf(log, "text InfoCaption1=Folder(s) Found    ", before);
    ASSERT_LT(mountLayout, log.size());
    EXPECT_LT(IndexOf(log, "tree Directory root=DATA", before), mountLayout);
    EXPECT_LT(IndexOf(log, "hide BackButton", before), mountLayout);
    EXPECT_LT(IndexOf(log, "show StopButton", before), mountLayout);
    EXPECT_LT(mountLayout, IndexOf(log, "text StatusLine=Mounting volume, please wait...", before));
    EXPECT_LT(mountLayout, IndexOf(log, "text InfoValue1=2", mountLayout));
    EXPECT_LT(mountLayout, IndexOf(log, "text InfoValue4=readme.txt", mountLayout));
    const size_t creating = IndexOf(log, "text StatusLine=Creating Tree Structure, Please wait", mountLayout);
    EXPECT_LT(IndexOf(log, "text StatusLine=Searching Lost Data ...", mountLayout), creating);
    EXPECT_LT(creating, IndexOf(log, "item Directory Documents", creating));
    EXPECT_NE(std::find(view.quickHelp.begin(), view.quickHelp.end(),
                        "\r\n                Please Wait, Lumbra is mounting the selected file system. Once this "
                        "process is completed, it will show you the                       data."),
              view.quickHelp.end());

    // The browse step.
    EXPECT_FALSE(session.wizard.busy());
    EXPECT_FALSE(view.visible(Element::StopButton));
    EXPECT_FALSE(view.visible(Element::VolumeTree));
    EXPECT_TRUE(view.visible(Element::DirectoryTree));
    EXPECT_TRUE(view.enabled(Element::DirectoryTree));
    EXPECT_TRUE(view.visible(Element::FileList));
    EXPECT_TRUE(view.visible(Element::BackButton));
    EXPECT_TRUE(view.enabled(Element::BackButton));
    EXPECT_FALSE(view.visible(Element::NextButton));
    EXPECT_FALSE(view.visible(Element::ProgressBar));
    for (int row = 1; row <= 5; ++row) EXPECT_FALSE(view.visible(InfoCaption(row)));
    EXPECT_FALSE(view.visible(Element::StatusLine));
    ASSERT_EQ(view.columns.size(), 6u);
    const std::vector<std::pair<std::string, int>> expected{{"Name", 150}, {"Type", 100}, {"Size", 70},
                                                            {"Date", 100}, {"Time", 70},  {"Sector", 70}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(view.columns[i].header, expected[i].first);
        EXPECT_EQ(view.columns[i].width, expected[i].second);
        EXPECT_EQ(view.columns[i].rightAligned, i == 2);
    }
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Documents", "Pictures", "readme.txt", "empty.txt"}));
    EXPECT_EQ(view.rows[0].type, "Folder");
    EXPECT_EQ(view.rows[2].type, "TXT File");
    EXPECT_EQ(view.rows[2].size, "5000");
    EXPECT_EQ(view.treeChildren(TreeKind::Directory), (std::vector<std::string>{"Documents", "Pictures"}));
    EXPECT_EQ(QuickHelpNow(),
              "\r\n                Please select the file(s) and folder(s) to recover from right pane and copy using "
              "  Recover Selected      or                             Recover All options from the Recovery "
              "Menu.\r\n                You can open a file by Double Clicking it.");
    EXPECT_TRUE(view.commandEnabled(Command::SaveSnapshot));
    EXPECT_FALSE(view.commandEnabled(Command::LoadSnapshot));
}

TEST_F(WizardTest, AViewSlowerThanTheMountIsGivenTheLastCountsOnceBeforeTheTreeIsBuilt) {
    StartStandard();
    ToVolumes();
    ClickTree(TreeKind::Volumes, "DATA");
    view.readyForProgress = false;
    const size_t before = view.log.size();
    wizard->OnNext();
    wizard->WaitForWorker();

    const std::vector<std::string>& log = view.log;
    const size_t creating = IndexOf(log, "text StatusLine=Creating Tree Structure, Please wait", before);
    ASSERT_LT(creating, log.size());
    // The layout empties the field; the mount writes its count into it once.
    const std::string field = "text InfoValue2=";
    const auto counts = std::count_if(log.begin() + static_cast<std::ptrdiff_t>(before),
                                      log.begin() + static_cast<std::ptrdiff_t>(creating),
                                      [&](const std::string& entry) { return entry.starts_with(field) && entry != field; });
    EXPECT_EQ(counts, 1);
    EXPECT_LT(IndexOf(log, field + std::to_string(session.records.files().size()), before), creating);
    EXPECT_LT(IndexOf(log, "text StatusLine=Searching Lost Data ...", before), creating);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepBrowse);
}

TEST_F(WizardTest, ClickingAFolderInTheDirectoryTreeShowsIt) {
    StartStandard();
    ToBrowse();
    session.savingFlags.stopSaving = 1;
    ClickTree(TreeKind::Directory, "Documents");
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"Report.doc", "Big.bin"}));
    EXPECT_EQ(view.tree(TreeKind::Directory).selected, view.findTreeItem(TreeKind::Directory, "Documents"));
    EXPECT_EQ(session.wizard.treeHasFocus, 1);
    EXPECT_EQ(session.savingFlags.stopSaving, 0);
    ClickTree(TreeKind::Directory, "DATA");
    EXPECT_EQ(RowNames().size(), 4u);
}

TEST_F(WizardTest, StopDuringTheMountShowsWhatWasFound) {
    const std::string image = WriteImage(ThreeThousandFiles());
    Start({image});
    ToVolumes();
    ClickTree(TreeKind::Volumes, "DATA");
    view.answers = {Answer::Yes};
    bool asked = false;
    view.onSetText = [&](Element element, const std::string& text) {
        if (element == Element::InfoValue2 && text == "100" && !asked) {
            asked = true;
            wizard->OnStop();
        }
    };
    wizard->OnNext();
    wizard->WaitForWorker();
    ASSERT_TRUE(asked);
    EXPECT_EQ(view.messages.back().text, "Do you want to stop the current process ?");
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepBrowse);
    EXPECT_GT(view.rows.size(), 0u);
    EXPECT_LT(view.rows.size(), 3000u);
    EXPECT_EQ(session.wizard.stopRequested, 0);

    // The tree is said to be partial: in the step's text and in Drive Information.
    EXPECT_EQ(view.quickHelp.back(), QuickHelpText(QuickHelp::BrowsePartial));
    wizard->OnCommand(Command::DriveInformation);
    ASSERT_EQ(view.driveInformation.size(), 1u);
    EXPECT_EQ(view.driveInformation[0].rows.size(), 9u);
    EXPECT_EQ(view.driveInformation[0].rows.back().value, kPartialMountValue);

    // Its snapshot is saved only when the user says so, and is marked.
    view.answers = {Answer::No};
    view.saveName = scratch.file("part");
    wizard->OnCommand(Command::SaveSnapshot);
    EXPECT_EQ(view.messages.back().text, kSavePartialSnapshotQuestion);
    EXPECT_EQ(view.saveNameAsked, 0);
    view.answers = {Answer::Yes};
    wizard->OnCommand(Command::SaveSnapshot);
    const std::string saved = scratch.file("PART.QVDX");
    EXPECT_EQ(view.messages.back().text,
              "The recovery snapshot was saved to " + saved + ".\nIt is marked partial: the mount was stopped before it ended.");
    auto loaded = LoadSnapshotFile(saved);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(loaded));
    EXPECT_TRUE(std::get<LoadedSnapshot>(loaded).state.partial);

    // Loaded again, it says so, and the browse step says it too.
    Session second{AccessMode::N};
    FakeView secondView;
    WizardController loader(second, secondView, desktop);
    ASSERT_TRUE(loader.StartUp(DriveSources{.listSystemDisks = false, .images = {image}}, ""));
    secondView.loadName = saved;
    loader.OnCommand(Command::LoadSnapshot);
    ASSERT_EQ(second.wizard.currentStep(), WizardStep::StepBrowse);
    ASSERT_FALSE(secondView.messages.empty());
    EXPECT_EQ(secondView.messages.back().text, kPartialSnapshotLoadedText);
    EXPECT_EQ(secondView.quickHelp.back(), QuickHelpText(QuickHelp::BrowsePartial));
}

TEST_F(WizardTest, AWholeMountIsNotCalledPartial) {
    StartStandard();
    ToBrowse();
    EXPECT_EQ(view.quickHelp.back(), QuickHelpText(QuickHelp::Browse));
    wizard->OnCommand(Command::DriveInformation);
    ASSERT_EQ(view.driveInformation.size(), 1u);
    EXPECT_EQ(view.driveInformation[0].rows.size(), 8u);
}

TEST_F(WizardTest, MemoryRunningOutDuringTheMountIsToldAndEndsTheProgramWithAFailure) {
    Start({WriteImage(ThreeThousandFiles())});
    ToVolumes(true);
    ClickTree(TreeKind::Volumes, "POOL1");
    view.onSetText = [&](Element element, const std::string& text) {
        if (element == Element::InfoValue2 && text == "100") FailAllocationAfter(50);
    };
    wizard->OnNext();
    wizard->WaitForWorker();
    StopFailingAllocations();
    ASSERT_TRUE(AllocationFailed());
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(view.messages.back().text, "Out of memory, close other applications and run again");
    EXPECT_EQ(desktop.endedWith, std::vector<int>{1}) << "an exit status of 0 would tell of success";
    EXPECT_NE(session.wizard.currentStep(), WizardStep::StepBrowse);
}

TEST_F(WizardTest, BackFromBrowsingFreesTheTreeAndNextMountsAgain) {
    StartStandard();
    ToBrowse();
    wizard->OnBack();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepVolumes);
    EXPECT_TRUE(session.records.folders().empty());
    EXPECT_TRUE(session.records.files().empty());
    ASSERT_EQ(view.columns.size(), 1u);
    EXPECT_EQ(view.columns[0].header, "                                            Details");
    EXPECT_EQ(view.columns[0].width, 500);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(view.visible(Element::FileList));
    EXPECT_TRUE(view.visible(Element::VolumeTree));
    EXPECT_TRUE(view.enabled(Element::VolumeTree));
    EXPECT_FALSE(view.visible(Element::DirectoryTree));
    EXPECT_EQ(Caption(1), "Volume Type  ");
    EXPECT_FALSE(view.visible(Element::StatusLine));
    EXPECT_EQ(QuickHelpNow(),
              "\r\n                1. Select the volume to recover from left pane or use Search Partitions for a quick "
              "search of missing partitions.\r\n                2. Click Next Button");
    EXPECT_FALSE(view.commandEnabled(Command::SaveSnapshot));

    ClickTree(TreeKind::Volumes, "DATA");
    wizard->OnNext();
    wizard->WaitForWorker();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepBrowse);
    EXPECT_EQ(RowNames().size(), 4u);
    EXPECT_EQ(session.records.files().size(), 4u);
}

TEST_F(WizardTest, PoolBasedMountFindsTheFilesToo) {
    StartStandard();
    ToBrowse("POOL1", /*poolBased=*/true);
    EXPECT_EQ(view.tree(TreeKind::Directory).items.at(view.tree(TreeKind::Directory).root).text, "POOL1");
    EXPECT_NE(RowNamed("readme.txt"), -1);
    EXPECT_NE(RowNamed("Documents"), -1);
}

}  // namespace
}  // namespace lumbra::test
