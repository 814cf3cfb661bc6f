#include <gtest/gtest.h>

#include <fstream>

#include "app/info_layouts.h"
#include "app/quick_help.h"
#include "support/fake_system_disks.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

TEST_F(WizardTest, StartUpShowsTheDiskStep) {
    const std::string first = WriteImage(StandardImage(), "a.img");
    const std::string second = WriteImage(StandardImage(), "b.img");
    Start({first, second});

    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    const FakeTree& drives = view.tree(TreeKind::Drives);
    EXPECT_EQ(drives.items.at(drives.root).text, "My Computer");
    EXPECT_TRUE(drives.items.at(drives.root).expanded);
    EXPECT_EQ(view.treeChildren(TreeKind::Drives), (std::vector<std::string>{"Storage Device0", "Storage Device1"}));
    EXPECT_TRUE(view.visible(Element::DriveTree));
    EXPECT_TRUE(view.enabled(Element::DriveTree));

    for (Element button : {Element::BackButton, Element::NextButton, Element::StopButton}) {
        EXPECT_FALSE(view.visible(button)) << ElementName(button);
        EXPECT_FALSE(view.enabled(button)) << ElementName(button);
    }
    EXPECT_FALSE(view.visible(Element::ProgressBar));
    EXPECT_FALSE(view.visible(Element::FileList));
    EXPECT_FALSE(view.visible(Element::StartField));
    EXPECT_FALSE(view.visible(Element::RangeFrame));
    EXPECT_TRUE(view.visible(Element::IdentifyFrame));
    EXPECT_TRUE(view.visible(Element::HelpButtonA));
    EXPECT_TRUE(view.element(Element::UsePartitionTable).checked);
    EXPECT_TRUE(view.enabled(Element::SearchPartition));
    EXPECT_EQ(session.wizard.identifyOption, 1);

    EXPECT_EQ(Caption(1), "Model                  ");
    EXPECT_EQ(Caption(2), "Capacity              ");
    EXPECT_EQ(Caption(3), "Cylinders              ");
    EXPECT_EQ(Caption(4), "Head                   ");
    EXPECT_EQ(Caption(5), "Sectors Per Track ");
    for (int row = 1; row <= 5; ++row) EXPECT_EQ(Value(row), "");
    EXPECT_FALSE(view.visible(Element::StatusLine));
    EXPECT_EQ(QuickHelpNow(),
              "\r\n                1. Select the disk to recover from left pane.\r\n                2. Select the "
              "Volume Identify Option.\r\n                3. Click Next Button.");

    EXPECT_EQ(session.settings.sectorsPerRead, 60u);
    EXPECT_EQ(session.settings.badSectorRetries, 3);
    EXPECT_EQ(session.settings.duplicateAction, 1);
}

// Listing the disks asks for no rights: a disk this user may not read is listed with the
// geometry of its size, and nothing is said at start.
TEST_F(WizardTest, DisksThisUserMayNotReadAreListedWithoutAMessage) {
    FakeSystemDisks disks(scratch);
    disks.addReadable("sda");
    disks.addUnreadable("sdb");
    disks.addUnreadable("sdc");
    const std::string image = WriteImage(StandardImage());
    wizard = std::make_unique<WizardController>(session, view, desktop);
    {
        const OrdinaryUser user;
        ASSERT_TRUE(user.active());
        ASSERT_TRUE(wizard->StartUp(DriveSources{.listSystemDisks = true, .images = {image}, .systemPaths = disks.paths()}, ""));
    }
    EXPECT_EQ(view.treeChildren(TreeKind::Drives),
              (std::vector<std::string>{"Storage Device0", "Storage Device1", "Storage Device2", "Storage Device3"}));
    const auto& rows = session.disk.driveTable().rows;
    EXPECT_EQ(rows[1].path, disks.paths().dev + "/sdb");
    EXPECT_EQ(rows[1].cylinders, GeometryForSize(2048 * 512).cylinders);
    EXPECT_EQ(rows[1].heads, 255u);
    EXPECT_EQ(rows[3].path, image);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(WizardTest, ApplicationDirectoryGetsOneTrailingSeparator) {
    desktop.currentDirectory = "/opt/lumbra";
    StartStandard();
    EXPECT_EQ(session.applicationDirectory, "/opt/lumbra/");

    Session again{AccessMode::N};
    desktop.currentDirectory = "/";
    WizardController other(again, view, desktop);
    ASSERT_TRUE(other.StartUp(DriveSources{.listSystemDisks = false}, ""));
    EXPECT_EQ(again.applicationDirectory, "/");
}

TEST_F(WizardTest, BiosModeWithoutItsLibrariesEndsAfterTheMessage) {
    Session biosSession{AccessMode::F};
    WizardController bios(biosSession, view, desktop);
    EXPECT_FALSE(bios.StartUp(DriveSources{.listSystemDisks = false}, scratch.file("no-libraries") + "/"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text, "Disk32.dll not found or corrupted");
    EXPECT_EQ(desktop.endedWith, std::vector<int>{0});
}

TEST_F(WizardTest, AnImageThatCannotBeOpenedIsToldAndTheOtherDrivesStay) {
    const std::string missing = scratch.file("missing.img");
    Start({missing, WriteImage(StandardImage())});
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text, "The disk image " + missing + " cannot be opened: No such file or directory.");
    EXPECT_TRUE(desktop.endedWith.empty());
    EXPECT_EQ(view.treeChildren(TreeKind::Drives).size(), 1u);
    ToPools();
}

TEST_F(WizardTest, ADroppedImageBecomesADriveRowAfterTheOthersAndABadOneIsOnlyTold) {
    Start({WriteImage(StandardImage(), "a.img")});
    const std::string dropped = WriteImage(StandardImage(), "b.img");
    wizard->OnImageDropped(dropped);
    EXPECT_EQ(view.treeChildren(TreeKind::Drives), (std::vector<std::string>{"Storage Device0", "Storage Device1"}));
    EXPECT_EQ(session.disk.driveTable().rows[1].path, dropped);
    EXPECT_TRUE(view.messages.empty());

    const std::string missing = scratch.file("missing.img");
    const std::string empty = scratch.file("empty.img");
    std::ofstream(empty).flush();
    wizard->OnImageDropped(missing);
    wizard->OnImageDropped(scratch.path().string());
    wizard->OnImageDropped(empty);
    ASSERT_EQ(view.messages.size(), 3u);
    EXPECT_EQ(view.messages[0].text, "The disk image " + missing + " cannot be opened: No such file or directory.");
    EXPECT_EQ(view.messages[1].text,
              "The disk image " + scratch.path().string() + " cannot be opened: is a folder, not a disk or an image.");
    EXPECT_EQ(view.messages[2].text, "The disk image " + empty + " cannot be opened: the image is empty.");
    EXPECT_EQ(session.disk.driveTable().count(), 2u);

    // The dropped drive is a drive like the others.
    ClickDrive(1);
    wizard->OnNext();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    // Past the disk step a drop does nothing.
    wizard->OnImageDropped(dropped);
    EXPECT_EQ(session.disk.driveTable().count(), 2u);
    EXPECT_EQ(view.messages.size(), 3u);
}

TEST_F(WizardTest, EmptyDriveTableShowsOnlyTheRoot) {
    Start({});
    EXPECT_TRUE(view.treeChildren(TreeKind::Drives).empty());
    wizard->OnLeftTreeClick(0, TreeHitPart::Nowhere);
    EXPECT_EQ(view.tree(TreeKind::Drives).selected, view.tree(TreeKind::Drives).root);
    EXPECT_FALSE(view.visible(Element::NextButton));
}

TEST(InfoLayouts, CaptionsKeepTheirTrailingBlanks) {
    EXPECT_EQ(InfoLayoutCaptions(InfoLayout::ScanProgress)[0], "Pool(s) Found  ");
    EXPECT_EQ(InfoLayoutCaptions(InfoLayout::ScanProgress)[2], "End Sector     ");
    EXPECT_EQ(InfoLayoutCaptions(InfoLayout::MountProgress)[3], "Last File/Folder       ");
    EXPECT_EQ(InfoLayoutCaptions(InfoLayout::PoolInfo)[3], "Total Segments     ");
    EXPECT_EQ(InfoLayoutCaptions(InfoLayout::VolumeInfo)[2], "Volume Name      ");
    EXPECT_EQ(InfoLayoutCaptions(InfoLayout::VolumeInfo)[3], "Recovery Type     ");
    for (auto caption : InfoLayoutCaptions(InfoLayout::Hidden)) EXPECT_TRUE(caption.empty());
}

TEST(InfoLayouts, ScanProgressUnderThePartitionTableOptionIsPoolInfo) {
    FakeView view;
    ApplyInfoLayout(view, InfoLayout::ScanProgress, kUsePartitionTable, 500);
    EXPECT_EQ(view.text(Element::InfoCaption1), "Volume Type  ");
    EXPECT_FALSE(view.visible(Element::StatusLine));

    ApplyInfoLayout(view, InfoLayout::ScanProgress, kSearchPartition, 500);
    EXPECT_EQ(view.text(Element::InfoCaption1), "Pool(s) Found  ");
    EXPECT_EQ(view.text(Element::InfoValue3), "500");
    EXPECT_EQ(view.text(Element::StatusLine), "Searching for Pools. This may take long time. Pleae wait");
    EXPECT_FALSE(view.visible(Element::InfoCaption4));
    EXPECT_FALSE(view.visible(Element::RangeFrame));
}

TEST(QuickHelp, TextsAreDistinctAndStartWithALineBreak) {
    const QuickHelp all[] = {QuickHelp::SelectDisk,  QuickHelp::SelectDiskAgain,   QuickHelp::SearchingPools,
                             QuickHelp::SelectPool,  QuickHelp::SelectVolume,      QuickHelp::SelectVolumeAgain,
                             QuickHelp::Mounting,    QuickHelp::Browse};
    std::set<std::string_view> texts;
    for (QuickHelp id : all) {
        EXPECT_TRUE(QuickHelpText(id).starts_with("\r\n                "));
        texts.insert(QuickHelpText(id));
    }
    EXPECT_EQ(texts.size(), std::size(all));
    EXPECT_TRUE(QuickHelpText(QuickHelp::Mounting).ends_with("it will show you the                       data."));
    EXPECT_TRUE(QuickHelpText(QuickHelp::SelectVolumeAgain).ends_with("2. Click Next Button"));
}

}  // namespace
}  // namespace lumbra::test
