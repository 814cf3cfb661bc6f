#pragma once
// One volume from its plan to its place in the pool: ids, times and records first, then the
// B-tree's shape, then blocks for the tree and the files.
#include <cstdint>

#include "support/block_allocator.h"
#include "support/image_data.h"
#include "support/nss_image_plan.h"
#include "support/tree_layout.h"

namespace lumbra::test {

struct PlannedVolume {
    BuiltVolume built;
    TreeLayout layout;
    VolumeRender render;
    uint64_t autoDataBlocks = 0;        // blocks the files placed automatically take, gaps included
    std::vector<BlockRun> placedRuns;   // runs given by hand
    std::vector<uint32_t> fileFragments;  // runs wanted per file
};

PlannedVolume planVolume(const VolumePlan& plan, uint64_t contentSeed);

// Gives the tree nodes and the automatically placed files their blocks.
void placeVolume(PlannedVolume& volume, BlockAllocator& allocator);

}  // namespace lumbra::test
