// Superblock, object tree and volume B-trees, read back at hand-computed offsets.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/nss_image_builder.h"
#include "support/tests/tree_walk.h"

namespace lumbra::test {
namespace {

VolumePlan smallVolume() {
    VolumePlan v{.name = "DATA1"};
    v.folders.push_back({.id = 300, .name = "Docs", .time = 1200000000});
    v.files.push_back({.id = 0x100000002ull, .parent = 300, .name = "a.txt", .size = 4097, .time = 1300000000});
    v.files.push_back({.id = 501, .name = "root.bin", .size = 0});
    return v;
}

NssImage smallImage(TreeShape shape = {}) {
    VolumePlan v = smallVolume();
    v.tree = shape;
    return NssImageBuilder().pool({.name = "POOL", .segments = {{.headerSector = 2048}}, .volumes = {v}}).build();
}

TEST(Superblock, NamesTheObjectTreeRoot) {
    auto image = smallImage();
    const BuiltPool& pool = image.pool("POOL");
    EXPECT_EQ(pool.superblockSector, 2048u + 32 + 8);
    const auto sb = image.readSectors(pool.superblockSector, 1);
    EXPECT_EQ(std::string(sb.begin(), sb.begin() + 3), "SPB");
    EXPECT_EQ(le64(sb, 188), pool.treeRootBlock);
    EXPECT_EQ(pool.treeRootSector, pool.segments[0].dataStart + 8 * pool.treeRootBlock);
}

TEST(ObjectTree, VolumeRecordCarriesNameAndRoot) {
    auto image = smallImage();
    const BuiltPool& pool = image.pool("POOL");
    const auto leaf = image.readPoolBlock(pool, pool.treeRootBlock);
    EXPECT_TRUE(bytesEqual(leaf, 0, "LEAF"));
    EXPECT_EQ(leaf[42], 'N');
    const size_t r = 40;
    EXPECT_GT(static_cast<int16_t>(*le16(leaf, r)), 0);
    EXPECT_EQ(le32(leaf, r + 4), 0x33u);
    EXPECT_EQ(le16(leaf, r + 124), 5u);
    EXPECT_EQ(lowBytesOfUtf16(leaf, r + 126, 5), "DATA1");
    EXPECT_EQ(le64(leaf, r + 272), pool.volume("DATA1").rootBlock);
    EXPECT_EQ(pool.volume("DATA1").rootSector, *pool.toDiskSector(8 * pool.volume("DATA1").rootBlock));
}

TEST(VolumeTree, FolderAndFileRecordsAtTheirOffsets) {
    auto image = smallImage();
    const BuiltPool& pool = image.pool("POOL");
    const BuiltVolume& v = pool.volume("DATA1");
    ASSERT_EQ(v.leafBlocks.size(), 1u);
    EXPECT_EQ(v.rootBlock, v.leafBlocks[0]);
    const auto leaf = image.readPoolBlock(pool, v.rootBlock);
    // Folder "Docs" first, at 40.
    size_t r = 40;
    EXPECT_EQ(le32(leaf, r + 4), 3u);
    EXPECT_EQ(leaf[r + 18], 8);
    EXPECT_EQ(le32(leaf, r + 8), 300u);
    EXPECT_EQ(leaf[r + 108], 0);
    EXPECT_EQ(le32(leaf, r + 112), 127u);
    EXPECT_EQ(leaf[r + 124], 4);
    EXPECT_EQ(lowBytesOfUtf16(leaf, r + 126, 4), "Docs");
    EXPECT_EQ(le32(leaf, r + 126 + 8 + 44), 1200000000u);
    // File "a.txt" next.
    r += *le16(leaf, r);
    EXPECT_EQ(le32(leaf, r + 4), 3u);
    EXPECT_EQ(leaf[r + 18], 24);
    EXPECT_EQ(le64(leaf, r + 8), 0x100000002ull);
    EXPECT_EQ(le64(leaf, r + 24), 4097u);
    EXPECT_EQ(le32(leaf, r + 88), 2u);
    EXPECT_EQ(le64(leaf, r + 92), v.files[0].firstBlock);
    EXPECT_EQ(le64(leaf, r + 128), 300u);
    EXPECT_EQ(leaf[r + 140], 5);
    EXPECT_EQ(le32(leaf, r + 142 + 10 + 44), 1300000000u);
    // "root.bin" under the root: parent 127, no blocks.
    r += *le16(leaf, r);
    EXPECT_EQ(le64(leaf, r + 128), 127u);
    EXPECT_EQ(le32(leaf, r + 88), 0u);
    r += *le16(leaf, r);
    EXPECT_EQ(le16(leaf, r), 0u);  // nothing after the last record
}

TEST(VolumeTree, RecordsFrom56WhenByte42IsNotN) {
    auto image = smallImage({.recordsAt40 = false});
    const BuiltPool& pool = image.pool("POOL");
    const auto leaf = image.readPoolBlock(pool, pool.volume("DATA1").rootBlock);
    EXPECT_NE(leaf[42], 'N');
    EXPECT_EQ(le32(leaf, 56 + 8), 300u);
}

VolumePlan manyFiles(size_t count) {
    VolumePlan v{.name = "BIG"};
    const uint64_t folder = v.addFolder("all");
    for (size_t i = 0; i < count; ++i) v.addFile("file" + std::to_string(i), folder, i * 100);
    return v;
}

size_t fileRecords(const std::vector<WalkedRecord>& records) {
    return static_cast<size_t>(std::count_if(records.begin(), records.end(), [](const WalkedRecord& r) { return r.type == 3 && r.kind == 24; }));
}

TEST(VolumeTree, BranchLevelsReachEveryLeaf) {
    VolumePlan v = manyFiles(40);
    v.tree = {.recordsPerLeaf = 2, .branchFanout = 3};
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const BuiltPool& pool = image.pool("P");
    const BuiltVolume& built = pool.volume("BIG");
    EXPECT_EQ(built.leafBlocks.size(), 21u);
    EXPECT_EQ(built.branchBlocks.size(), 1u + 3 + 7);  // 21 leaves under 7, under 3, under 1
    const auto root = image.readPoolBlock(pool, built.rootBlock);
    EXPECT_TRUE(bytesEqual(root, 0, "BRCH"));
    EXPECT_EQ(le32(root, 40 + 36), 0u);  // three children, then a zero entry
    const auto records = walkTree(image, pool, built.rootBlock);
    EXPECT_EQ(fileRecords(records), 40u);
    EXPECT_EQ(records.front().name, "all");
    EXPECT_EQ(records.back().name, "file39");  // leaves are met in order
}

TEST(VolumeTree, LinkRecordsChainTheLeaves) {
    VolumePlan v = manyFiles(30);
    v.tree = {.recordsPerLeaf = 4, .links = TreeLinks::LinkRecords, .leafLinksToItself = true};
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const BuiltPool& pool = image.pool("P");
    const BuiltVolume& built = pool.volume("BIG");
    EXPECT_TRUE(built.branchBlocks.empty());
    EXPECT_EQ(fileRecords(walkTree(image, pool, built.rootBlock)), 30u);
    const auto first = image.readPoolBlock(pool, built.rootBlock);
    size_t at = 40;
    std::vector<uint32_t> links;
    while (int16_t length = static_cast<int16_t>(*le16(first, at))) {
        if (*le32(first, at + 4) == 44) links.push_back(*le32(first, at + 212));
        at += length;
    }
    EXPECT_EQ(links, (std::vector<uint32_t>{static_cast<uint32_t>(built.leafBlocks[1]), static_cast<uint32_t>(built.rootBlock)}));
}

TEST(VolumeTree, RootBranchLoopEntry) {
    VolumePlan v = manyFiles(10);
    v.tree = {.recordsPerLeaf = 5, .branchLinksToRoot = true};
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const BuiltPool& pool = image.pool("P");
    const BuiltVolume& built = pool.volume("BIG");
    const auto root = image.readPoolBlock(pool, built.rootBlock);
    EXPECT_EQ(le32(root, 40 + 3 * 12), built.rootBlock);  // after the three leaves
    EXPECT_EQ(fileRecords(walkTree(image, pool, built.rootBlock)), 10u);
}

TEST(ObjectTree, ManyVolumesUnderABranchWithExtraLinks) {
    PoolPlan plan{.name = "P", .tree = {.shape = {.recordsAt40 = false, .recordsPerLeaf = 4}, .extraLinks = {2}}};
    for (int i = 0; i < 30; ++i) plan.volumes.push_back({.name = "VOL" + std::to_string(i)});
    plan.volumes[7].listed = false;
    plan.volumes[8].nameLengthField = 60;
    auto image = NssImageBuilder().pool(plan).build();
    const BuiltPool& pool = image.pool("P");
    EXPECT_EQ(pool.treeLeafBlocks.size(), 8u);  // a link record and 29 volume records, four a leaf
    ASSERT_EQ(pool.treeBranchBlocks.size(), 1u);
    EXPECT_EQ(pool.treeBranchBlocks[0], pool.treeRootBlock);
    const auto records = walkTree(image, pool, pool.treeRootBlock);
    EXPECT_EQ(std::count_if(records.begin(), records.end(), [](const WalkedRecord& r) { return r.type == 0x33; }), 29);
    EXPECT_EQ(records.front().type, 44u);
    EXPECT_EQ(records.front().offset, 56u);
    // Leaf 2 starts with VOL8, VOL7 having no record.
    const auto leaf = image.readPoolBlock(pool, pool.treeLeafBlocks[2]);
    EXPECT_EQ(lowBytesOfUtf16(leaf, 56 + 126, 4), "VOL8");
    EXPECT_EQ(le16(leaf, 56 + 124), 60u);
}

}  // namespace
}  // namespace lumbra::test
