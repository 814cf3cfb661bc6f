#include "support/pool_writer.h"

#include <cstring>
#include <stdexcept>

#include "disk/byte_order.h"
#include "disk/sector.h"
#include "support/nss_format.h"
#include "support/record_writer.h"
#include "support/utf16_names.h"
#include "support/volume_builder.h"

namespace lumbra::test {

namespace fmt = format;

PoolWriter::PoolWriter(ImageData& image, uint32_t poolIndex)
    : image_(image), pool_(poolIndex), places_(image.pools[poolIndex].places()) {}

void PoolWriter::writeBlock(uint64_t block, std::span<const uint8_t> bytes) {
    for (uint32_t s = 0; s < kSectorsPerBlock; ++s)
        image_.store.write(sectorOf(block * kSectorsPerBlock + s).diskSector * kSectorSize,
                           bytes.subspan(s * kSectorSize, kSectorSize));
}

MappedRun PoolWriter::sectorOf(uint64_t poolSector) const {
    auto run = mapPoolRun(places_, poolSector);
    if (!run) throw std::invalid_argument("a block lies past the end of pool " + image_.pools[pool_].name);
    return *run;
}

void PoolWriter::addRegion(uint64_t block, uint64_t blocks, uint64_t logical, uint32_t volume, uint32_t item,
                           bool leaf) {
    uint64_t poolSector = block * kSectorsPerBlock;
    const uint64_t end = (block + blocks) * kSectorsPerBlock;
    while (poolSector < end) {
        const MappedRun run = sectorOf(poolSector);
        const uint64_t count = std::min(run.contiguous, end - poolSector);
        image_.regions.push_back({.offset = run.diskSector * kSectorSize, .length = count * kSectorSize,
                                  .logical = logical, .pool = pool_, .volume = volume, .item = item, .leaf = leaf});
        logical += count * kSectorSize;
        poolSector += count;
    }
}

std::vector<uint8_t> branchBlock(const std::vector<uint64_t>& childBlocks) {
    std::vector<uint8_t> block(kBlockSize);
    std::memcpy(block.data(), "BRCH", 4);
    for (size_t i = 0; i < childBlocks.size(); ++i)
        putLe32(block, fmt::node::kBranchEntries + i * fmt::node::kBranchEntrySize, static_cast<uint32_t>(childBlocks[i]));
    return block;
}

namespace {

std::vector<size_t> listedVolumes(const std::vector<PlannedVolume>& volumes) {
    std::vector<size_t> listed;
    for (size_t i = 0; i < volumes.size(); ++i)
        if (volumes[i].built.listed) listed.push_back(i);
    return listed;
}

void writeBranches(PoolWriter& writer, const TreeLayout& layout, const std::vector<uint64_t>& nodeBlocks) {
    for (size_t i = 0; i < layout.branches.size(); ++i) {
        std::vector<uint64_t> children;
        for (uint32_t node : layout.branches[i]) children.push_back(nodeBlocks[node]);
        writer.writeBlock(nodeBlocks[i], branchBlock(children));
    }
}

std::vector<uint8_t> objectTreeLeaf(const PoolPlan& plan, const TreeLayout& layout, size_t leaf,
                                    const std::vector<uint64_t>& nodeBlocks, const std::vector<PlannedVolume>& volumes) {
    const TreeShape& shape = plan.tree.shape;
    const std::vector<size_t> listed = listedVolumes(volumes);
    std::vector<uint8_t> block(kBlockSize);
    std::memcpy(block.data(), "LEAF", 4);
    block[fmt::node::kLeafStartByte] = shape.recordsAt40 ? 'N' : 0;
    size_t at = leafRecordStart(shape);
    const LeafRange& range = layout.leaves[leaf];
    for (uint32_t r = range.firstRecord; r < range.firstRecord + range.recordCount; ++r) {
        if (r < plan.tree.extraLinks.size()) {
            writeLinkRecord(block, at, plan.tree.extraLinks[r]);
            at += linkRecordLength();
            continue;
        }
        const size_t v = listed[r - plan.tree.extraLinks.size()];
        const BuiltVolume& built = volumes[v].built;
        const VolumePlan& vp = plan.volumes[v];
        const auto units = static_cast<int16_t>(utf16FromUtf8(built.name).size());
        writeVolumeRecord(block, at, built, vp.nameLengthField.value_or(units), vp.rootBlockField.value_or(built.rootBlock));
        at += volumeRecordLength(built);
    }
    if (shape.links == TreeLinks::LinkRecords && leaf + 1 < layout.leaves.size()) {
        writeLinkRecord(block, at, nodeBlocks[layout.leafNode(leaf + 1)]);
        at += linkRecordLength();
    }
    if (shape.leafLinksToItself && leaf == 0) writeLinkRecord(block, at, nodeBlocks[layout.leafNode(0)]);
    return block;
}

void writeVolume(PoolWriter& writer, uint32_t index, const PlannedVolume& volume) {
    const BuiltVolume& v = volume.built;
    std::vector<uint64_t> nodeBlocks = v.branchBlocks;
    nodeBlocks.insert(nodeBlocks.end(), v.leafBlocks.begin(), v.leafBlocks.end());
    writeBranches(writer, volume.layout, nodeBlocks);
    for (uint32_t i = 0; i < v.leaves.size(); ++i) writer.addRegion(v.leaves[i].block, 1, 0, index, i, true);
    for (uint32_t f = 0; f < v.files.size(); ++f) {
        uint64_t logical = 0;
        for (const BlockRun& run : v.files[f].runs) {
            writer.addRegion(run.start, run.count, logical, index, f, false);
            logical += run.count * kBlockSize;
        }
    }
}

}  // namespace

TreeLayout layoutObjectTree(const PoolPlan& plan, const std::vector<PlannedVolume>& volumes) {
    const std::vector<size_t> listed = listedVolumes(volumes);
    const size_t links = plan.tree.extraLinks.size();
    const TreeShape& shape = plan.tree.shape;
    return layoutTree(
        links + listed.size(),
        [&](size_t r) { return r < links ? linkRecordLength() : volumeRecordLength(volumes[listed[r - links]].built); },
        [&](size_t leaf) {
            return (shape.links == TreeLinks::LinkRecords ? linkRecordLength() : 0) +
                   (shape.leafLinksToItself && leaf == 0 ? linkRecordLength() : 0);
        },
        shape);
}

void writePoolContents(ImageData& image, uint32_t poolIndex, const PoolPlan& plan, const TreeLayout& objectTree,
                       const std::vector<uint64_t>& objectTreeBlocks, const std::vector<PlannedVolume>& volumes) {
    PoolWriter writer(image, poolIndex);
    BuiltPool& pool = image.pools[poolIndex];
    if (plan.tree.superblock) {
        std::vector<uint8_t> block(kBlockSize);
        std::memcpy(block.data(), plan.tree.superblockMagic.data(), std::min<size_t>(plan.tree.superblockMagic.size(), 8));
        putLe64(block, fmt::superblock::kRootBlock, plan.tree.rootBlockField.value_or(pool.treeRootBlock));
        writer.writeBlock(fmt::superblock::kBlock, block);
    }
    writeBranches(writer, objectTree, objectTreeBlocks);
    for (size_t leaf = 0; leaf < objectTree.leaves.size(); ++leaf)
        writer.writeBlock(objectTreeBlocks[objectTree.leafNode(leaf)],
                          objectTreeLeaf(plan, objectTree, leaf, objectTreeBlocks, volumes));
    for (uint32_t v = 0; v < volumes.size(); ++v) writeVolume(writer, v, volumes[v]);
}

}  // namespace lumbra::test
