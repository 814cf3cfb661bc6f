// A segment whose extent is not a multiple of 8 sectors ends inside a pool block: the block's
// first sectors lie at the end of one segment, the rest at the start of the next. A file that
// crosses such a joint is laid out, copied and judged sector by sector.
#include <gtest/gtest.h>

#include "discovery/volume_discovery.h"
#include "disk/sector.h"
#include "recovery/copy_fixture.h"
#include "recovery/file_condition.h"
#include "recovery/recovery_run.h"

namespace lumbra {
namespace {

using test::CopyFixture;
using test::ReadWholeFile;

// Segment 0 holds 1001 sectors, so pool block 125 (pool sectors 1000 to 1007) keeps its first
// sector in segment 0 and its other seven in segment 1. Across.bin takes blocks 120 to 129.
constexpr uint64_t kJointBlock = 125;
constexpr uint64_t kFirstBlock = 120;
constexpr uint64_t kFileSize = 10 * kBlockSize - 300;
// Pool sectors 960 to 1000 of the file lie in segment 0: 41 sectors.
constexpr uint64_t kBytesBeforeJoint = 41 * kSectorSize;

test::NssImage JointImage() {
    test::VolumePlan volume{.name = "DATA"};
    volume.files.push_back({.parent = 0, .name = "Across.bin", .size = kFileSize, .runs = {{kFirstBlock, 10}}});
    return test::NssImageBuilder()
        .pool({.name = "POOL", .segments = {{.extent = 1001}, {.extent = 2000}}, .volumes = {volume}})
        .build();
}

// The disk sectors on either side of the joint: the last of segment 0, the first of segment 1.
std::set<uint64_t> JointSectors(const test::NssImage& image) {
    const auto& segments = image.pools().at(0).segments;
    return {segments.at(0).dataStart + 1000, segments.at(1).dataStart};
}

TEST(SegmentJoint, TheLayoutEndsOneRunAtTheJointSectorAndStartsTheNextThere) {
    CopyFixture fixture(JointImage());
    const auto& segments = fixture.mounted.builtPool().segments;
    ASSERT_EQ(fixture.mounted.pool.segmentExtent, (std::vector<uint32_t>{1001, 2000}));
    const FileLayout layout = LayFileOut(fixture.mounted.pool, fixture.mounted.reader.sectorCount(), kFirstBlock,
                                         static_cast<int64_t>(kFileSize));
    ASSERT_EQ(layout.runs.size(), 2u);
    EXPECT_FALSE(layout.cutShort);
    EXPECT_EQ(layout.runs[0].fileOffset, 0u);
    EXPECT_EQ(layout.runs[0].diskOffset, (segments[0].dataStart + 960) * kSectorSize);
    EXPECT_EQ(layout.runs[0].length, kBytesBeforeJoint);
    EXPECT_EQ(layout.runs[1].fileOffset, kBytesBeforeJoint);
    EXPECT_EQ(layout.runs[1].diskOffset, segments[1].dataStart * kSectorSize);
    EXPECT_EQ(layout.runs[1].length, kFileSize - kBytesBeforeJoint);
}

TEST(SegmentJoint, EveryCopiedByteIsTheBuildersFromTheFileOrFromItsJointBlock) {
    CopyFixture fixture(JointImage());
    const std::vector<uint8_t> content = fixture.expected("Across.bin");
    ASSERT_EQ(content.size(), kFileSize);
    ASSERT_TRUE(fixture.copy("Across.bin").copied());
    EXPECT_TRUE(ReadWholeFile(fixture.destination.path() / "Across.bin") == content);

    // A file whose first block is the one split by the joint.
    std::string name = "joint.bin";
    CopyContext context = fixture.context();
    const CopyResult fromJoint = CopyRecoveredFile(context, fixture.destination.path().string(), name, kJointBlock,
                                                   2 * int64_t{kBlockSize}, CopyMode::Recover);
    EXPECT_EQ(fromJoint.outcome, CopyOutcome::Copied);
    const auto jointStart = content.begin() + (kJointBlock - kFirstBlock) * kBlockSize;
    EXPECT_TRUE(ReadWholeFile(fixture.destination.path() / "joint.bin") ==
                std::vector<uint8_t>(jointStart, jointStart + 2 * kBlockSize));
}

TEST(SegmentJoint, UnreadableSectorsAtTheJointMakeTheFileDamagedThere) {
    const test::NssImage image = JointImage();
    const std::set<uint64_t> joint = JointSectors(image);
    CopyFixture fixture(JointImage(), joint);
    const ItemRecord& file = fixture.file("Across.bin");
    ASSERT_TRUE(fixture.copy("Across.bin").copied());
    const FileCondition condition = ConditionOfFile(fixture.mounted.reader, fixture.mounted.pool, file, true);
    EXPECT_EQ(condition.kind, ConditionKind::Damaged);
    ASSERT_EQ(condition.unreadableRanges.size(), 1u);
    EXPECT_EQ(condition.unreadableRanges[0].position, kBytesBeforeJoint - kSectorSize);
    EXPECT_EQ(condition.unreadableRanges[0].size, 2 * kSectorSize);
    EXPECT_EQ(condition.unreadableBytes, 2 * kSectorSize);

    // The copy holds zeros there and the builder's bytes everywhere else.
    std::vector<uint8_t> expected = fixture.expected("Across.bin");
    std::fill_n(expected.begin() + (kBytesBeforeJoint - kSectorSize), 2 * kSectorSize, uint8_t{0});
    EXPECT_TRUE(ReadWholeFile(fixture.destination.path() / "Across.bin") == expected);
}

// A pool whose first segment ends `split` sectors into pool block `block`.
test::NssImage SplitAt(uint64_t block, uint64_t split, const std::vector<test::VolumePlan>& volumes) {
    return test::NssImageBuilder()
        .pool({.name = "POOL",
               .segments = {{.extent = static_cast<uint32_t>(block * kSectorsPerBlock + split)}, {.extent = 2000}},
               .volumes = volumes})
        .build();
}

// Blocks of the trees are read as the pool maps them too: a leaf of the volume's B-tree and the
// root of the pool's object tree, each split by the joint after one sector and after seven.
TEST(SegmentJoint, TreeBlocksSplitByTheJointAreReadFromBothSegments) {
    // Twelve volumes: their records in the object tree's root leaf fill more than its first sector.
    std::vector<test::VolumePlan> volumes(12);
    for (size_t v = 0; v < volumes.size(); ++v) {
        volumes[v].name = "VOLUME" + std::to_string(v);
        volumes[v].addFile("only.txt", 0, 100);
    }
    for (int i = 0; i < 40; ++i) volumes[0].addFile("file " + std::to_string(i), 0, 100);
    const test::NssImage apart = SplitAt(400, 1, volumes);
    const uint64_t leaf = apart.pools().at(0).volumes.at(0).leafBlocks.at(0);
    const uint64_t root = apart.pools().at(0).treeRootBlock;
    for (const uint64_t split : {1, 7}) {
        SCOPED_TRACE("split after " + std::to_string(split) + " sector(s)");
        test::MountedImage leafSplit(SplitAt(leaf, split, volumes));
        ASSERT_EQ(leafSplit.builtVolume().leafBlocks.at(0), leaf);
        EXPECT_FALSE(leafSplit.MountVolumeBased().stopped);
        test::ExpectMountedAsBuilt(leafSplit.tree, test::NssImage::expectedMount(leafSplit.builtVolume()));

        test::MountedImage rootSplit(SplitAt(root, split, volumes));
        ASSERT_EQ(rootSplit.builtPool().treeRootBlock, root);
        ObjectTree tree;
        VolumeTable found;
        BlockQueue queue;
        DiscoverVolumes(rootSplit.reader, rootSplit.pool, RecoveryMode::VolumeBased, tree, found, queue);
        ASSERT_EQ(found.count(), volumes.size());
        for (size_t v = 0; v < volumes.size(); ++v) EXPECT_EQ(found[v].name, volumes[v].name);
    }
}

// The scan of every pool block reads a leaf split by the joint from both segments too.
TEST(SegmentJoint, ThePoolScanReadsALeafSplitByTheJoint) {
    test::VolumePlan volume{.name = "DATA"};
    for (int i = 0; i < 40; ++i) volume.addFile("file " + std::to_string(i), 0, 100);
    const uint64_t leaf = SplitAt(400, 1, {volume}).pools().at(0).volumes.at(0).leafBlocks.at(0);
    for (const uint64_t split : {1, 7}) {
        test::MountedImage mounted(SplitAt(leaf, split, {volume}));
        ASSERT_EQ(mounted.builtVolume().leafBlocks.at(0), leaf);
        mounted.MountPoolBased();
        EXPECT_EQ(mounted.tree.files().size(), 40u) << "split after " << split;
    }
}

}  // namespace
}  // namespace lumbra
