#include <gtest/gtest.h>

#include "support/demo_image.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

// The bundled demo disk walked from the drive to the browse step of its segmented pool.
TEST_F(WizardTest, TheDemoDiskWalksToItsSegmentedPool) {
    const NssImage image = buildImage(demoImagePlan());
    Start({WriteImage(image, "demo.img")});
    ToPools();
    EXPECT_EQ(view.treeChildren(TreeKind::Pools), (std::vector<std::string>{"OFFICE", "ARCHIVE"}));
    ClickTree(TreeKind::Pools, "ARCHIVE");
    EXPECT_EQ(Value(4), "3");
    wizard->OnNext();
    ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepVolumes);
    EXPECT_EQ(view.treeChildren(TreeKind::Volumes), std::vector<std::string>{"ARCHIVE"});
    ClickTree(TreeKind::Volumes, "ARCHIVE");
    wizard->OnNext();
    wizard->WaitForWorker();
    ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepBrowse);

    const ExpectedMount expected = NssImage::expectedMount(image.pool("ARCHIVE").volume("ARCHIVE"));
    EXPECT_EQ(session.records.files().size(), expected.files.size());
    EXPECT_EQ(session.records.folders().size(), expected.folders.size());
    EXPECT_FALSE(view.rows.empty());
    EXPECT_FALSE(view.treeChildren(TreeKind::Directory).empty());
}

}  // namespace
}  // namespace lumbra::test
