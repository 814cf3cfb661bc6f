#include <gtest/gtest.h>

#include <vector>

#include "toolkit/left_pane_tree_rules.h"
#include "toolkit/progress_text.h"
#include "toolkit/window_shape_runs.h"

namespace lumbra {
namespace {

TEST(ProgressText, PercentIsTruncatedAndCaptionWins) {
    EXPECT_EQ(ProgressText(1, 0, 3, ""), "33%");
    EXPECT_EQ(ProgressText(2, 0, 3, ""), "66%");
    EXPECT_EQ(ProgressText(150, 100, 200, ""), "50%");
    EXPECT_EQ(ProgressText(150, 100, 200, "Saving"), "Saving");
}

TEST(ProgressText, OutOfRangePositionsAndEmptyRangesStayInsideTheBar) {
    EXPECT_EQ(ProgressFilledLength(500, 0, 100, 200), 200);
    EXPECT_EQ(ProgressFilledLength(-5, 0, 100, 200), 0);
    EXPECT_EQ(ProgressFilledLength(5, 7, 7, 200), 0);
    EXPECT_EQ(ProgressText(5, 7, 7, ""), "0%");
    EXPECT_EQ(ProgressFilledLength(2000000000, -2000000000, 2000000000, 100), 100);
}

TEST(WindowShapeRuns, RunsOfNonTransparentPixelsPerRow) {
    const uint32_t g = 0x00ff00, r = 0xff0000, n = 0x10f010;   // n is green within 16
    const std::vector<uint32_t> pixels = {
        g, r, r, g, r,
        g, g, g, g, g,
        n, r, n, n, g,
    };
    std::vector<ShapeRect> exact = OpaqueRuns(pixels, 5, 3, 0x00ff00, 0);
    ASSERT_EQ(exact.size(), 3u);
    EXPECT_EQ(exact[0].x, 1);
    EXPECT_EQ(exact[0].width, 2);
    EXPECT_EQ(exact[1].x, 4);
    EXPECT_EQ(exact[2].y, 2);
    EXPECT_EQ(exact[2].x, 0);
    EXPECT_EQ(exact[2].width, 4);
    std::vector<ShapeRect> tolerant = OpaqueRuns(pixels, 5, 3, 0x00ff00, 16);
    ASSERT_EQ(tolerant.size(), 3u);
    EXPECT_EQ(tolerant[2].x, 1);
    EXPECT_EQ(tolerant[2].width, 1);
}

TEST(WindowShapeRuns, ShortPixelBufferGivesNoShape) {
    const std::vector<uint32_t> pixels(4, 0xff0000);
    EXPECT_TRUE(OpaqueRuns(pixels, 5, 3, 0x00ff00, 0).empty());
}

TEST(LeftPaneTreeRules, RootsAndImagesPerStage) {
    EXPECT_EQ(TreeRootText(TreeStage::Disks, "VOL1"), "My Computer");
    EXPECT_EQ(TreeRootText(TreeStage::Pools, "VOL1"), "NSS Pools");
    EXPECT_EQ(TreeRootText(TreeStage::Volumes, "VOL1"), "NSS Volumes");
    EXPECT_EQ(TreeRootText(TreeStage::Files, "VOL1"), "VOL1");
    EXPECT_EQ(TreeRootImage(TreeStage::Disks), 4);
    EXPECT_EQ(TreeRootImage(TreeStage::Pools), 0);
    EXPECT_EQ(TreeRootImage(TreeStage::Volumes), 4);
    EXPECT_EQ(TreeRootImage(TreeStage::Files), 4);
}

TEST(LeftPaneTreeRules, DiskNumberFollowsTheFourteenCharacters) {
    EXPECT_EQ(DiskNumberOfItem("Storage Device0"), 0);
    EXPECT_EQ(DiskNumberOfItem("Storage Device12"), 12);
    EXPECT_EQ(DiskNumberOfItem("Storage Device"), std::nullopt);
    EXPECT_EQ(DiskNumberOfItem("Storage DeviceX"), std::nullopt);
}

TEST(LeftPaneTreeRules, ClicksCountOnDifferentPartsPerStage) {
    const TreeClick onButton{TreeClickPart::Button, false, "DATA", 1, 9};
    const TreeClick onLabel{TreeClickPart::Label, false, "DATA", 1, 9};
    EXPECT_EQ(ResolveTreeClick(TreeStage::Pools, onButton).kind, TreeActionKind::SelectPool);
    EXPECT_EQ(ResolveTreeClick(TreeStage::Pools, onButton).number, 1);
    EXPECT_EQ(ResolveTreeClick(TreeStage::Volumes, onButton).kind, TreeActionKind::None);
    EXPECT_EQ(ResolveTreeClick(TreeStage::Volumes, onLabel).kind, TreeActionKind::SelectVolume);
    EXPECT_EQ(ResolveTreeClick(TreeStage::Files, onButton).kind, TreeActionKind::None);
    const TreeAction folder = ResolveTreeClick(TreeStage::Files, onLabel);
    EXPECT_EQ(folder.kind, TreeActionKind::ShowFolder);
    EXPECT_EQ(folder.itemId, 9u);
}

TEST(LeftPaneTreeRules, TheRootIsNeverChosenButShowsItsFolderInTheFileStage) {
    const TreeClick root{TreeClickPart::Nowhere, true, "My Computer", -1, 1};
    EXPECT_EQ(ResolveTreeClick(TreeStage::Disks, root).kind, TreeActionKind::None);
    const TreeClick poolsRoot{TreeClickPart::Label, true, "NSS Pools", -1, 1};
    EXPECT_EQ(ResolveTreeClick(TreeStage::Pools, poolsRoot).kind, TreeActionKind::None);
    const TreeClick volumeRoot{TreeClickPart::Label, true, "VOL1", -1, 1};
    EXPECT_EQ(ResolveTreeClick(TreeStage::Files, volumeRoot).kind, TreeActionKind::ShowFolder);
    const TreeClick disk{TreeClickPart::RightOfLabel, false, "Storage Device3", 3, 5};
    const TreeAction chosen = ResolveTreeClick(TreeStage::Disks, disk);
    EXPECT_EQ(chosen.kind, TreeActionKind::SelectDisk);
    EXPECT_EQ(chosen.number, 3);
    const TreeClick diskIndent{TreeClickPart::Indent, false, "Storage Device3", 3, 5};
    EXPECT_EQ(ResolveTreeClick(TreeStage::Disks, diskIndent).kind, TreeActionKind::None);
}

}  // namespace
}  // namespace lumbra
