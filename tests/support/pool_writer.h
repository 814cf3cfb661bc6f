#pragma once
// Writes into one pool through its segments: whole metadata blocks into the sparse store, and
// regions (leaf blocks, file data) that are rendered when read.
#include <cstdint>
#include <span>
#include <vector>

#include "support/image_data.h"
#include "support/pool_mapping.h"
#include "support/tree_layout.h"

namespace lumbra::test {

class PoolWriter {
public:
    PoolWriter(ImageData& image, uint32_t poolIndex);

    void writeBlock(uint64_t block, std::span<const uint8_t> bytes);
    // A region of `blocks` blocks from `block`, whose content starts at byte `logical`.
    void addRegion(uint64_t block, uint64_t blocks, uint64_t logical, uint32_t volume, uint32_t item, bool leaf);

private:
    MappedRun sectorOf(uint64_t poolSector) const;  // throws past the end of the pool

    ImageData& image_;
    uint32_t pool_;
    std::vector<SegmentPlace> places_;
};

// "BRCH" and one 12-byte entry per child block.
std::vector<uint8_t> branchBlock(const std::vector<uint64_t>& childBlocks);

// The superblock, the object tree and the volume B-trees' branch blocks and leaf regions, and
// the file data regions of every volume of pool `poolIndex`.
struct PlannedVolume;
void writePoolContents(ImageData& image, uint32_t poolIndex, const PoolPlan& plan, const TreeLayout& objectTree,
                       const std::vector<uint64_t>& objectTreeBlocks, const std::vector<PlannedVolume>& volumes);

// Packs the object tree: extra link records first, then one record per listed volume.
TreeLayout layoutObjectTree(const PoolPlan& plan, const std::vector<PlannedVolume>& volumes);

}  // namespace lumbra::test
