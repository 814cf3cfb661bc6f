#include <gtest/gtest.h>

#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

TEST_F(WizardTest, ClickingAPoolShowsItsValues) {
    StartStandard();
    ToPools();
    ClickTree(TreeKind::Pools, "POOL1", TreeHitPart::Indent);
    const PoolEntry& pool = session.pools[0];
    EXPECT_EQ(session.wizard.selectedPool, 0);
    EXPECT_EQ(Caption(1), "Volume Type  ");
    EXPECT_EQ(Caption(2), "Pool Name    ");
    EXPECT_EQ(Caption(3), "Pool Size      ");
    EXPECT_EQ(Value(1), "Novell NSS Volume");
    EXPECT_EQ(Value(2), "POOL1");
    EXPECT_EQ(Value(3), std::to_string(pool.poolSize));
    EXPECT_EQ(Value(4), "1");
    EXPECT_TRUE(view.visible(Element::NextButton));

    view.Hide(Element::NextButton);
    ClickTree(TreeKind::Pools, "NSS Pools");
    EXPECT_FALSE(view.visible(Element::NextButton));
}

TEST_F(WizardTest, CancellingTheModeDialogStaysInThePoolStep) {
    StartStandard();
    ToPools();
    ClickTree(TreeKind::Pools, "POOL1");
    view.modeDialog = [](ModeOfRecoveryValues&) { return false; };
    wizard->OnNext();
    ASSERT_EQ(view.modeDialogs.size(), 1u);
    const ModeOfRecoveryValues& opened = view.modeDialogs[0];
    EXPECT_EQ(opened.title, "Select Mode Of Recovery");
    EXPECT_EQ(opened.explanation,
              "Please select the mode of recovery. \r\n\r\nSelect pool based recovery for serious damages or when "
              "volume based recovery fails to recover all of your required data.");
    EXPECT_TRUE(opened.volumeBasedChecked);
    EXPECT_FALSE(opened.poolBasedChecked);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_EQ(session.wizard.recoveryMode, 1);
    EXPECT_FALSE(view.visible(Element::NextButton));
    EXPECT_TRUE(view.visible(Element::PoolTree));
    EXPECT_EQ(view.tree(TreeKind::Volumes).generation, 0);

    ClickTree(TreeKind::Pools, "POOL1");
    EXPECT_TRUE(view.visible(Element::NextButton));
}

TEST_F(WizardTest, VolumeBasedDiscoveryListsTheVolumes) {
    VolumePlan second{.name = "USERS"};
    second.addFile("a.txt", 0, 10);
    Start({WriteImage(NssImageBuilder()
                          .pool({.name = "POOL1", .segments = {{.headerSector = 2048}},
                                 .volumes = {StandardVolume(), second}})
                          .build())});
    ToVolumes();
    EXPECT_EQ(session.wizard.recoveryMode, 1);
    const FakeTree& volumes = view.tree(TreeKind::Volumes);
    EXPECT_EQ(volumes.items.at(volumes.root).text, "NSS Volumes");
    EXPECT_TRUE(volumes.items.at(volumes.root).expanded);
    EXPECT_EQ(view.treeChildren(TreeKind::Volumes), (std::vector<std::string>{"DATA", "USERS"}));
    EXPECT_TRUE(view.visible(Element::VolumeTree));
    EXPECT_FALSE(view.visible(Element::PoolTree));
    EXPECT_FALSE(view.enabled(Element::PoolTree));
    EXPECT_EQ(Caption(3), "Volume Name      ");
    EXPECT_EQ(QuickHelpNow(), "\r\n                1. Select the Volume to recover from left pane.\r\n                2. Click Next Button.");
    EXPECT_TRUE(view.commandEnabled(Command::Settings));
    EXPECT_FALSE(view.commandEnabled(Command::LoadSnapshot));

    ClickTree(TreeKind::Volumes, "USERS");
    EXPECT_EQ(session.wizard.selectedVolume, 1u);
    EXPECT_EQ(Value(1), "Novell NSS Volume");
    EXPECT_EQ(Value(2), "POOL1");
    EXPECT_EQ(Value(3), "USERS");
    EXPECT_EQ(Value(4), "Volume Based");
    EXPECT_TRUE(view.visible(Element::NextButton));
}

TEST_F(WizardTest, PoolBasedDiscoveryGivesOneVolumeNamedLikeThePool) {
    StartStandard();
    ToVolumes(/*poolBased=*/true);
    EXPECT_EQ(session.wizard.recoveryMode, 2);
    EXPECT_EQ(view.treeChildren(TreeKind::Volumes), std::vector<std::string>{"POOL1"});
    ClickTree(TreeKind::Volumes, "POOL1");
    EXPECT_EQ(Value(4), "Pool Based");
}

TEST_F(WizardTest, NoVolumesFoundOnlyInVolumeBasedRecovery) {
    Start({WriteImage(NssImageBuilder()
                          .pool({.name = "POOL1", .segments = {{.headerSector = 2048}},
                                 .tree = {.superblock = false}})
                          .build())});
    ToPools();
    ClickTree(TreeKind::Pools, "POOL1");
    wizard->OnNext();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(view.messages[0].text, "No volumes found. \r\nPlease select the pool based recovery.");
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_FALSE(view.visible(Element::VolumeTree));
    EXPECT_FALSE(view.enabled(Element::VolumeTree));
    EXPECT_TRUE(view.visible(Element::PoolTree));
    EXPECT_TRUE(view.enabled(Element::PoolTree));
    EXPECT_FALSE(view.visible(Element::NextButton));

    ClickTree(TreeKind::Pools, "POOL1");
    view.modeDialog = [](ModeOfRecoveryValues& values) {
        values.volumeBasedChecked = false;
        values.poolBasedChecked = true;
        return true;
    };
    wizard->OnNext();
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepVolumes);
    EXPECT_EQ(view.treeChildren(TreeKind::Volumes), std::vector<std::string>{"POOL1"});
}

TEST_F(WizardTest, BackFromTheVolumeStepReturnsToThePools) {
    StartStandard();
    ToVolumes();
    ClickTree(TreeKind::Volumes, "DATA");
    wizard->OnBack();
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepPools);
    EXPECT_FALSE(view.visible(Element::VolumeTree));
    EXPECT_TRUE(view.visible(Element::PoolTree));
    EXPECT_TRUE(view.enabled(Element::PoolTree));
    EXPECT_FALSE(view.visible(Element::NextButton));
    EXPECT_EQ(Caption(1), "Volume Type  ");
    EXPECT_EQ(Value(2), "");
    EXPECT_FALSE(view.visible(Element::StatusLine));
    EXPECT_EQ(QuickHelpNow(), "\r\n                1. Select the Pool to recover from left pane.\r\n                2. Click Next Button.");
    EXPECT_EQ(session.wizard.selectedVolume, 0u) << "selections survive Back";

    // The volume tree is rebuilt when the step is entered again.
    const int generation = view.tree(TreeKind::Volumes).generation;
    ClickTree(TreeKind::Pools, "POOL1");
    wizard->OnNext();
    EXPECT_EQ(view.tree(TreeKind::Volumes).generation, generation + 1);
}

}  // namespace
}  // namespace lumbra::test
