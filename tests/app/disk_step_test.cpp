#include <gtest/gtest.h>

#include <fstream>

#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

TEST_F(WizardTest, ClickingADriveShowsItsValuesAndNext) {
    StartStandard();
    ClickDrive(0);
    const DriveEntry& drive = session.disk.driveTable().rows[0];
    EXPECT_EQ(session.wizard.selectedDrive, 0);
    EXPECT_EQ(Value(1), "disk.img");
    EXPECT_EQ(Value(2), std::to_string(drive.sizeInSectors() / 2048) + " MB ( Approx )");
    EXPECT_EQ(Value(3), std::to_string(drive.cylinders));
    EXPECT_EQ(Value(4), "255");
    EXPECT_EQ(Value(5), "63");
    EXPECT_TRUE(view.visible(Element::NextButton));
    EXPECT_TRUE(view.enabled(Element::NextButton));
    EXPECT_EQ(view.tree(TreeKind::Drives).selected, view.findTreeItem(TreeKind::Drives, "Storage Device0"));
}

TEST_F(WizardTest, ClickingTheRootOrBesideTheItemsSelectsNoDrive) {
    StartStandard();
    ClickTree(TreeKind::Drives, "My Computer");
    EXPECT_FALSE(view.visible(Element::NextButton));
    wizard->OnLeftTreeClick(view.findTreeItem(TreeKind::Drives, "Storage Device0"), TreeHitPart::Button);
    EXPECT_FALSE(view.visible(Element::NextButton));
    wizard->OnLeftTreeClick(0, TreeHitPart::Nowhere);
    EXPECT_EQ(view.tree(TreeKind::Drives).selected, view.tree(TreeKind::Drives).root);
    EXPECT_FALSE(view.visible(Element::NextButton));
}

TEST_F(WizardTest, SearchPartitionFillsTheRangeAndAnotherDiskRefillsIt) {
    const std::string small = WriteImage(NssImageBuilder().pool("A", {.headerSector = 2048}).build(), "small.img");
    const std::string large = WriteImage(
        NssImageBuilder().pool("B", {.headerSector = 2048}).diskSectors(300000).build(), "large.img");
    Start({small, large});
    ClickDrive(0);
    wizard->OnIdentifyOption(kSearchPartition);
    EXPECT_EQ(session.wizard.identifyOption, 2);
    for (Element element : {Element::RangeCaption, Element::RangeFrame, Element::StartCaption, Element::EndCaption,
                            Element::StartField, Element::EndField, Element::HelpButtonB})
        EXPECT_TRUE(view.visible(element)) << ElementName(element);
    const auto& rows = session.disk.driveTable().rows;
    EXPECT_EQ(view.text(Element::StartField), "0");
    EXPECT_EQ(view.text(Element::EndField), std::to_string(rows[0].sizeInSectors()));

    view.SetText(Element::StartField, "77");
    ClickDrive(1);
    EXPECT_EQ(view.text(Element::StartField), "0");
    EXPECT_EQ(view.text(Element::EndField), std::to_string(rows[1].sizeInSectors()));
    EXPECT_NE(rows[0].sizeInSectors(), rows[1].sizeInSectors());

    wizard->OnIdentifyOption(kUsePartitionTable);
    EXPECT_EQ(session.wizard.identifyOption, 1);
    EXPECT_FALSE(view.visible(Element::RangeFrame));
    EXPECT_FALSE(view.visible(Element::EndField));
}

struct RangeCase {
    const char* start;
    const char* end;
    const char* message;
};

class RangeErrors : public WizardTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeErrors, ShowTheErrorAndNextAgain) {
    StartStandard();
    ClickDrive(0);
    wizard->OnIdentifyOption(kSearchPartition);
    view.SetText(Element::StartField, GetParam().start);
    view.SetText(Element::EndField, GetParam().end);
    wizard->OnNext();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text, GetParam().message);
    EXPECT_TRUE(view.visible(Element::NextButton));
    EXPECT_TRUE(view.enabled(Element::NextButton));
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_TRUE(view.visible(Element::DriveTree));
    EXPECT_FALSE(session.wizard.busy());
}

INSTANTIATE_TEST_SUITE_P(
    WizardTest, RangeErrors,
    ::testing::Values(RangeCase{"abc", "100", "      Start sector value is not valid, It should be a positive number"},
                      RangeCase{"-5", "100", "      Start sector value is not valid, It should be a positive number"},
                      RangeCase{"0", "", "      End sector value is not valid, It should be a positive number"},
                      RangeCase{"0", "12x", "      End sector value is not valid, It should be a positive number"},
                      RangeCase{"10", "10", "      End sector should be bigger than start sector"},
                      RangeCase{"20", "10", "      End sector should be bigger than start sector"}));

TEST_F(WizardTest, NoPartitionTableSignatureGivesNoPoolFound) {
    Start({WriteImage(NssImageBuilder().pool("A", {.headerSector = 2048}).noMbr().build())});
    ClickDrive(0);
    wizard->OnNext();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(view.messages[0].text, "No Pool Found  !! \r\nSelect Search Partition and than Click Next.");
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_FALSE(view.visible(Element::NextButton));
    EXPECT_EQ(view.tree(TreeKind::Pools).generation, 0) << "no pool tree for a failed search";
    EXPECT_TRUE(view.visible(Element::DriveTree));
    EXPECT_TRUE(view.visible(Element::IdentifyFrame));

    wizard->OnIdentifyOption(kSearchPartition);
    EXPECT_TRUE(view.visible(Element::NextButton)) << "the scan can go on from the chosen drive";
    EXPECT_TRUE(view.enabled(Element::NextButton));
    wizard->OnNext();
    wizard->WaitForWorker();
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), std::vector<std::string>{"A"});
}

// Capacity and the default end of the scan are the image's own size, not whole cylinders.
TEST_F(WizardTest, ADrivesCapacityAndScanEndAreItsRealSize) {
    Start({WriteImage(NssImageBuilder().pool("A", {.headerSector = 2048}).diskSectors(499712).build())});
    ClickDrive(0);
    EXPECT_EQ(Value(2), "244 MB ( Approx )");
    EXPECT_EQ(Value(3), "31");
    wizard->OnIdentifyOption(kSearchPartition);
    EXPECT_EQ(view.text(Element::EndField), "499712");
}

TEST_F(WizardTest, AnEmptyImageIsRefusedWhenAdded) {
    const std::string empty = scratch.file("empty.img");
    std::ofstream(empty).close();
    Start({empty, WriteImage(StandardImage())});
    EXPECT_EQ(Messages(), std::vector<std::string>{"The disk image " + empty + " cannot be opened: the image is empty."});
    EXPECT_EQ(view.treeChildren(TreeKind::Drives), std::vector<std::string>{"Storage Device0"});
    wizard->OnImageDropped(empty);
    EXPECT_EQ(Messages().back(), "The disk image " + empty + " cannot be opened: the image is empty.");
    EXPECT_EQ(session.disk.driveTable().count(), 1u);
}

TEST_F(WizardTest, SearchPartitionShowsNextOnlyOnceADriveIsChosen) {
    StartStandard();
    wizard->OnIdentifyOption(kSearchPartition);
    EXPECT_FALSE(view.visible(Element::NextButton));
    ClickDrive(0);
    EXPECT_TRUE(view.visible(Element::NextButton));
}

TEST_F(WizardTest, NextByThePartitionTableListsThePools) {
    Start({WriteImage(NssImageBuilder()
                          .pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {StandardVolume()}})
                          .pool("SECOND", {.headerSector = 200000})
                          .build())});
    ToPools();
    const FakeTree& pools = view.tree(TreeKind::Pools);
    EXPECT_EQ(pools.items.at(pools.root).text, "NSS Pools");
    EXPECT_TRUE(pools.items.at(pools.root).expanded);
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"POOL1", "SECOND"}));
    EXPECT_TRUE(view.visible(Element::PoolTree));
    EXPECT_TRUE(view.enabled(Element::PoolTree));
    EXPECT_FALSE(view.visible(Element::DriveTree));
    EXPECT_FALSE(view.enabled(Element::DriveTree));
    EXPECT_FALSE(view.visible(Element::IdentifyFrame));
    EXPECT_FALSE(view.visible(Element::UsePartitionTable));
    EXPECT_FALSE(view.enabled(Element::SearchPartition));
    EXPECT_FALSE(view.visible(Element::HelpButtonA));
    EXPECT_TRUE(view.visible(Element::BackButton));
    EXPECT_TRUE(view.enabled(Element::BackButton));
    EXPECT_FALSE(view.visible(Element::NextButton));
    EXPECT_FALSE(view.visible(Element::StopButton));
    EXPECT_EQ(Caption(1), "Volume Type  ");
    EXPECT_EQ(Caption(4), "Total Segments     ");
    EXPECT_FALSE(view.visible(Element::InfoCaption5));
    EXPECT_EQ(QuickHelpNow(), "\r\n                1. Select the Pool to recover from left pane.\r\n                2. Click Next Button.");
    EXPECT_TRUE(session.reader != nullptr);
}

TEST_F(WizardTest, EveryNextEmptiesTheFileFiltersAndSwitchesToDetails) {
    StartStandard();
    session.filters.assign({"*.DOC"});
    view.viewMode = ListViewMode::Icons;
    ClickDrive(0);
    wizard->OnNext();
    EXPECT_EQ(session.filters.count(), 0u);
    EXPECT_EQ(view.viewMode, ListViewMode::Details);
    EXPECT_GE(view.gridAndFullRow, 1);
}

TEST_F(WizardTest, BackFromThePoolStepReturnsToTheDisks) {
    StartStandard();
    wizard->OnIdentifyOption(kSearchPartition);
    wizard->OnIdentifyOption(kUsePartitionTable);
    ToPools();
    wizard->OnBack();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_TRUE(session.reader == nullptr) << "the drive is closed";
    EXPECT_TRUE(view.visible(Element::DriveTree));
    EXPECT_TRUE(view.enabled(Element::DriveTree));
    EXPECT_FALSE(view.visible(Element::PoolTree));
    EXPECT_TRUE(view.visible(Element::UsePartitionTable));
    EXPECT_TRUE(view.enabled(Element::UsePartitionTable));
    EXPECT_TRUE(view.visible(Element::HelpButtonA));
    EXPECT_FALSE(view.visible(Element::BackButton));
    EXPECT_TRUE(view.visible(Element::NextButton)) << "the drive chosen before is still highlighted";
    EXPECT_FALSE(view.visible(Element::RangeFrame));
    EXPECT_EQ(Caption(1), "Model                  ");
    EXPECT_EQ(Value(1), "");
    EXPECT_EQ(QuickHelpNow(),
              "\r\n                1. Select the disk to scan from left pane.\r\n                2. Select the scan "
              "type.\r\n                3. Click Next Button.");
    EXPECT_TRUE(view.commandEnabled(Command::LoadSnapshot));
    EXPECT_TRUE(view.commandEnabled(Command::Settings));
    EXPECT_FALSE(view.commandEnabled(Command::SaveSnapshot));
}

// Next follows the option and the highlighted drive on every way into the disk step: after
// Back by either option, and after switching the option there.
TEST_F(WizardTest, BackToTheDisksWithADriveHighlightedShowsNextForEitherOption) {
    Start({WriteImage(LostTableImage())});
    ClickDrive(0);
    wizard->OnIdentifyOption(kSearchPartition);
    wizard->OnNext();
    wizard->WaitForWorker();
    ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    wizard->OnBack();
    ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_TRUE(view.visible(Element::RangeFrame));
    EXPECT_TRUE(view.visible(Element::NextButton)) << "back after a scan";
    EXPECT_TRUE(view.enabled(Element::NextButton));
    wizard->OnIdentifyOption(kSearchPartition);
    EXPECT_TRUE(view.visible(Element::NextButton));
    wizard->OnNext();
    wizard->WaitForWorker();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools) << "the scan ran again from the drive";
}

TEST_F(WizardTest, BackByThePartitionTableThenSearchPartitionShowsNext) {
    StartStandard();
    ToPools();
    wizard->OnBack();
    wizard->OnIdentifyOption(kSearchPartition);
    EXPECT_TRUE(view.visible(Element::NextButton));
    EXPECT_TRUE(view.enabled(Element::NextButton));
    wizard->OnIdentifyOption(kUsePartitionTable);
    EXPECT_TRUE(view.visible(Element::NextButton));
    wizard->OnNext();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
}

}  // namespace
}  // namespace lumbra::test
