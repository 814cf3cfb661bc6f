// Volumes from the pool superblock and the pool's object tree.
#include <gtest/gtest.h>

#include <functional>

#include "discovery/pool_listing.h"
#include "discovery/volume_discovery.h"
#include "discovery_test_helpers.h"
#include "disk/byte_order.h"
#include "support/numbered_name.h"

namespace lumbra::test {
namespace {

struct Discovery {
    SelectedPool pool;
    ObjectTree tree;
    VolumeTable volumes;
    BlockQueue queue;
    std::vector<std::pair<uint64_t, uint32_t>> reads;
};

Discovery Discover(const NssImage& image, RecoveryMode mode = RecoveryMode::VolumeBased) {
    Discovery found;
    RecordingReader reader(ReaderOf(image));
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    found.pool = SelectPool(pools, 0).value_or(SelectedPool{});
    reader.reads.clear();
    DiscoverVolumes(reader, found.pool, mode, found.tree, found.volumes, found.queue);
    found.reads = reader.reads;
    return found;
}

std::vector<std::string> VolumeNames(const VolumeTable& volumes) {
    std::vector<std::string> names;
    for (const VolumeEntry& volume : volumes.volumes()) names.push_back(volume.name);
    return names;
}

PoolPlan PoolWith(std::vector<std::string> volumeNames) {
    PoolPlan pool{.name = "POOL1", .segments = {{.headerSector = 2048}}};
    for (std::string& name : volumeNames) pool.volumes.push_back(VolumePlan{.name = std::move(name)});
    return pool;
}

uint64_t DiskSectorOfBlock(const BuiltPool& pool, uint64_t block) {
    return pool.toDiskSector(block * 8).value();
}

class LeafRecordStart : public ::testing::TestWithParam<bool> {};

TEST_P(LeafRecordStart, VolumesAreFoundWhereTheLeafSaysRecordsStart) {
    PoolPlan plan = PoolWith({"DATA1", "SYS"});
    plan.tree.shape.recordsAt40 = GetParam();
    const NssImage image = NssImageBuilder().pool(plan).build();
    const BuiltPool& built = image.pool("POOL1");
    const Discovery found = Discover(image);
    EXPECT_EQ(found.tree.superblockSector, built.superblockSector);
    EXPECT_EQ(found.tree.rootSector, built.treeRootSector);
    ASSERT_EQ(VolumeNames(found.volumes), (std::vector<std::string>{"DATA1", "SYS"}));
    EXPECT_EQ(found.volumes[0].rootSector, built.volume("DATA1").rootSector);
    EXPECT_EQ(found.volumes[1].rootSector, built.volume("SYS").rootSector);
}

INSTANTIATE_TEST_SUITE_P(At40OrAt56, LeafRecordStart, ::testing::Bool());

class UnusableNameLength : public ::testing::TestWithParam<int16_t> {};

TEST_P(UnusableNameLength, RecordIsPassedOverAndTheWalkGoesOn) {
    PoolPlan plan = PoolWith({"BAD", "GOOD"});
    plan.volumes[0].nameLengthField = GetParam();
    const Discovery found = Discover(NssImageBuilder().pool(plan).build());
    EXPECT_EQ(VolumeNames(found.volumes), std::vector<std::string>{"GOOD"});
}

INSTANTIATE_TEST_SUITE_P(Lengths, UnusableNameLength, ::testing::Values(0, 49, 60, -1));

TEST(VolumeDiscovery, LongestNameIsKept) {
    const std::string name(48, 'V');
    const Discovery found = Discover(NssImageBuilder().pool(PoolWith({name})).build());
    EXPECT_EQ(VolumeNames(found.volumes), std::vector<std::string>{name});
}

TEST(VolumeDiscovery, VolumeWhoseRootCannotBeMappedIsDropped) {
    PoolPlan plan = PoolWith({"LOST", "KEPT"});
    plan.segments = {{.headerSector = 2048, .extent = 20000}, {.headerSector = 40000, .extent = 20000}};
    plan.volumes[0].rootBlockField = 1u << 30;
    const Discovery found = Discover(NssImageBuilder().pool(plan).build());
    EXPECT_EQ(VolumeNames(found.volumes), std::vector<std::string>{"KEPT"});
}

// In a lone segment too, a root block past the pool's size has no place in the pool.
TEST(VolumeDiscovery, VolumeWhoseRootLiesPastAOneSegmentPoolIsDropped) {
    PoolPlan plan = PoolWith({"LOST", "KEPT"});
    const uint32_t poolSize = NssImageBuilder().pool(plan).build().pool("POOL1").poolSize;
    plan.volumes[0].rootBlockField = poolSize / 8 + 1;
    const Discovery found = Discover(NssImageBuilder().pool(plan).build());
    EXPECT_EQ(VolumeNames(found.volumes), std::vector<std::string>{"KEPT"});
}

// Names are the low bytes of their units up to the first 0 low byte: U+0100 ends one.
TEST(VolumeDiscovery, VolumeNameEndsAtAUnitWhoseLowByteIsZero) {
    const Discovery found = Discover(NssImageBuilder().pool(PoolWith({"VO\u0100LUME"})).build());
    EXPECT_EQ(VolumeNames(found.volumes), std::vector<std::string>{"VO"});
}

// Overwrites bytes of the object tree's first leaf, at an offset within the block.
RawPatch LeafPatch(const NssImage& image, size_t offset, std::vector<uint8_t> bytes) {
    const BuiltPool& pool = image.pool("POOL1");
    return {DiskSectorOfBlock(pool, pool.treeLeafBlocks.at(0)) * 512 + offset, std::move(bytes)};
}

// Offset of record `index` in the object tree's first leaf.
size_t RecordOffset(const NssImage& image, size_t index) {
    const BuiltPool& pool = image.pool("POOL1");
    const std::vector<uint8_t> leaf = image.readPoolBlock(pool, pool.treeLeafBlocks.at(0));
    size_t offset = leaf[42] == 'N' ? 40 : 56;
    for (size_t i = 0; i < index; ++i) offset += le16(leaf, offset).value();
    return offset;
}

std::vector<uint8_t> Le16(uint16_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
}

std::vector<uint8_t> VolumeRecordHead(uint16_t length, uint32_t kind) {
    std::vector<uint8_t> head(8, 0);
    putLe16(head, 0, length);
    putLe32(head, 4, kind);
    return head;
}

struct LeafDamageCase {
    const char* what;
    // Patches for the leaf of volumes ONE, TWO, THREE; record i starts at RecordOffset(i).
    std::function<std::vector<RawPatch>(const NssImage&)> patches;
    std::vector<std::string> expected;
};

class DamagedLeaf : public ::testing::TestWithParam<LeafDamageCase> {};

TEST_P(DamagedLeaf, EndsWhereTheRecordStopsMakingSense) {
    const LeafDamageCase damage = GetParam();
    const NssImage image =
        BuildPatched(DiskPlan{.pools = {PoolWith({"ONE", "TWO", "THREE"})}}, damage.patches);
    EXPECT_EQ(VolumeNames(Discover(image).volumes), damage.expected) << damage.what;
}

// Record 1 is stretched to end at `at`, where a record of `length` bytes and `kind` begins.
std::vector<RawPatch> RecordNearBlockEnd(const NssImage& image, size_t at, uint16_t length,
                                         uint32_t kind) {
    const size_t second = RecordOffset(image, 1);
    return {LeafPatch(image, second, Le16(static_cast<uint16_t>(at - second))),
            LeafPatch(image, at, VolumeRecordHead(length, kind))};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedLeaf,
    ::testing::Values(
        LeafDamageCase{"length 0",
                       [](const NssImage& image) {
                           return std::vector<RawPatch>{LeafPatch(image, RecordOffset(image, 1), Le16(0))};
                       },
                       {"ONE"}},
        LeafDamageCase{"negative length",
                       [](const NssImage& image) {
                           return std::vector<RawPatch>{
                               LeafPatch(image, RecordOffset(image, 1), Le16(0xFFFF))};
                       },
                       {"ONE"}},
        LeafDamageCase{"end past 4095",
                       [](const NssImage& image) {
                           const size_t second = RecordOffset(image, 1);
                           return std::vector<RawPatch>{
                               LeafPatch(image, second, Le16(static_cast<uint16_t>(4096 - second)))};
                       },
                       {"ONE"}},
        LeafDamageCase{"volume fields past the block",
                       [](const NssImage& image) { return RecordNearBlockEnd(image, 4000, 90, 0x33); },
                       {"ONE", "TWO"}},
        LeafDamageCase{"link field past the block",
                       [](const NssImage& image) { return RecordNearBlockEnd(image, 3950, 140, 0x2C); },
                       {"ONE", "TWO"}}));

TEST(ObjectTree, BranchChildrenAreQueuedInOrder) {
    PoolPlan plan = PoolWith({"A", "B", "C"});
    plan.tree.shape.recordsPerLeaf = 1;
    plan.tree.shape.branchFanout = 3;
    const NssImage image = NssImageBuilder().pool(plan).build();
    const BuiltPool& built = image.pool("POOL1");
    ASSERT_EQ(built.treeBranchBlocks.size(), 1u);
    ASSERT_EQ(built.treeLeafBlocks.size(), 3u);

    const Discovery found = Discover(image);
    std::vector<uint64_t> expected{built.treeRootSector};
    for (uint64_t leaf : built.treeLeafBlocks) expected.push_back(DiskSectorOfBlock(built, leaf));
    ASSERT_EQ(found.queue.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(found.queue[i], expected[i]) << i;
    EXPECT_EQ(VolumeNames(found.volumes), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ObjectTree, WalkIsBreadthFirst) {
    PoolPlan plan = PoolWith({"A", "B", "C", "D"});
    plan.tree.shape.recordsPerLeaf = 1;
    plan.tree.shape.branchFanout = 2;
    const NssImage image = NssImageBuilder().pool(plan).build();
    const BuiltPool& built = image.pool("POOL1");
    ASSERT_EQ(built.treeBranchBlocks.size(), 3u);

    std::vector<uint64_t> expected;
    for (uint64_t block : built.treeBranchBlocks) expected.push_back(DiskSectorOfBlock(built, block));
    for (uint64_t block : built.treeLeafBlocks) expected.push_back(DiskSectorOfBlock(built, block));
    std::vector<uint64_t> blockReads;
    for (const auto& read : Discover(image).reads)
        if (read.second == 8) blockReads.push_back(read.first);
    EXPECT_EQ(blockReads, expected);
}

struct LoopCase {
    const char* what;
    TreeShape shape;
};

class LoopingTree : public ::testing::TestWithParam<LoopCase> {};

TEST_P(LoopingTree, EveryBlockIsVisitedOnce) {
    PoolPlan plan = PoolWith({"A", "B", "C"});
    plan.tree.shape = GetParam().shape;
    plan.tree.shape.recordsPerLeaf = 1;
    const NssImage image = NssImageBuilder().pool(plan).build();
    const Discovery found = Discover(image);
    EXPECT_EQ(VolumeNames(found.volumes), (std::vector<std::string>{"A", "B", "C"})) << GetParam().what;
    std::vector<uint64_t> blockReads;
    for (const auto& read : found.reads)
        if (read.second == 8) blockReads.push_back(read.first);
    EXPECT_EQ(blockReads.size(), found.queue.size());
    const BuiltPool& built = image.pool("POOL1");
    EXPECT_EQ(found.queue.size(), built.treeBranchBlocks.size() + built.treeLeafBlocks.size());
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, LoopingTree,
    ::testing::Values(LoopCase{"branch child is the branch", {.branchFanout = 3, .branchLinksToRoot = true}},
                      LoopCase{"leaf links to itself", {.links = TreeLinks::LinkRecords, .leafLinksToItself = true}},
                      LoopCase{"leaves linked one to the next", {.links = TreeLinks::LinkRecords}}));

TEST(ObjectTree, LinkBackToTheRootEnds) {
    PoolPlan plan = PoolWith({"A"});
    const NssImage first = NssImageBuilder().pool(plan).build();
    plan.tree.extraLinks = {first.pool("POOL1").treeRootBlock};
    const Discovery found = Discover(NssImageBuilder().pool(plan).build());
    EXPECT_EQ(VolumeNames(found.volumes), std::vector<std::string>{"A"});
}

TEST(VolumeDiscovery, FiftyVolumeRecordsGiveFortyNineVolumes) {
    std::vector<std::string> names;
    for (int i = 0; i < 50; ++i) names.push_back(NumberedName("V", i));
    const Discovery found = Discover(NssImageBuilder().pool(PoolWith(names)).build());
    names.pop_back();
    EXPECT_EQ(VolumeNames(found.volumes), names);
}

TEST(VolumeDiscovery, SuperblockWithoutMagic) {
    PoolPlan plan = PoolWith({"DATA"});
    plan.tree.superblockMagic = "XPB";
    const NssImage image = NssImageBuilder().pool(plan).build();
    const BuiltPool& built = image.pool("POOL1");

    EXPECT_TRUE(Discover(image, RecoveryMode::VolumeBased).volumes.empty());

    const Discovery poolBased = Discover(image, RecoveryMode::PoolBased);
    ASSERT_EQ(VolumeNames(poolBased.volumes), std::vector<std::string>{"POOL1"});
    EXPECT_EQ(poolBased.volumes[0].rootSector, built.treeRootSector);
    EXPECT_EQ(poolBased.tree.rootSector, built.treeRootSector);
    EXPECT_EQ(poolBased.tree.superblockSector, built.superblockSector);
    EXPECT_TRUE(poolBased.queue.empty());
}

TEST(VolumeDiscovery, RootThatCannotBeMappedGivesNothingInEitherMode) {
    PoolPlan plan = PoolWith({"DATA"});
    plan.segments = {{.headerSector = 2048, .extent = 20000}, {.headerSector = 40000, .extent = 20000}};
    plan.tree.rootBlockField = 1u << 30;
    const NssImage image = NssImageBuilder().pool(plan).build();
    EXPECT_TRUE(Discover(image, RecoveryMode::VolumeBased).volumes.empty());
    EXPECT_TRUE(Discover(image, RecoveryMode::PoolBased).volumes.empty());
}

TEST(VolumeDiscovery, TablesOfAnEarlierDiscoveryAreReplaced) {
    const NssImage image = NssImageBuilder().pool("EMPTY", {.headerSector = 2048}).build();
    PoolTable pools;
    ListPoolsFromPartitionTable(*ReaderOf(image), pools);
    const SelectedPool pool = SelectPool(pools, 0).value();
    VolumeTable volumes;
    volumes.add({"OLD", 1, 0});
    BlockQueue queue;
    queue.append(12345);
    ObjectTree tree;
    DiscoverVolumes(*ReaderOf(image), pool, RecoveryMode::VolumeBased, tree, volumes, queue);
    EXPECT_TRUE(volumes.empty());
    EXPECT_FALSE(queue.contains(12345));
    EXPECT_EQ(tree.rootSector, image.pool("EMPTY").treeRootSector);
}

TEST(VolumeDiscovery, PoolWithoutSegmentsHasNoVolumes) {
    const NssImage image = NssImageBuilder().pool("DATA", {.headerSector = 2048}).build();
    ObjectTree tree;
    VolumeTable volumes;
    BlockQueue queue;
    DiscoverVolumes(*ReaderOf(image), SelectedPool{}, RecoveryMode::PoolBased, tree, volumes, queue);
    EXPECT_TRUE(volumes.empty());
}

}  // namespace
}  // namespace lumbra::test
