#pragma once
// Hands out the blocks of one pool in order, passing over blocks that are reserved (the
// superblock's neighbours, header sectors that fall inside the pool, runs placed by hand).
#include <cstdint>
#include <string>
#include <vector>

#include "support/nss_image_plan.h"

namespace lumbra::test {

class BlockAllocator {
public:
    BlockAllocator(std::string poolName, uint64_t blockCount);

    void reserve(uint64_t block);
    void reserve(const BlockRun& run);  // blocks past the pool are ignored
    // The next free block; throws std::invalid_argument when the pool is full.
    uint64_t take();
    // `count` blocks in up to `pieces` runs with one free block between them.
    std::vector<BlockRun> takeRuns(uint64_t count, uint32_t pieces);

private:
    BlockRun takeRun(uint64_t count);

    std::string poolName_;
    std::vector<bool> used_;
    uint64_t cursor_ = 0;
};

}  // namespace lumbra::test
