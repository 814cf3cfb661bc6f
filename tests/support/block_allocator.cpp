#include "support/block_allocator.h"

#include <algorithm>
#include <stdexcept>

namespace lumbra::test {

BlockAllocator::BlockAllocator(std::string poolName, uint64_t blockCount)
    : poolName_(std::move(poolName)), used_(blockCount, false) {}

void BlockAllocator::reserve(uint64_t block) {
    if (block < used_.size()) used_[block] = true;
}

void BlockAllocator::reserve(const BlockRun& run) {
    for (uint64_t b = run.start; b < run.start + run.count && b < used_.size(); ++b) used_[b] = true;
}

uint64_t BlockAllocator::take() { return takeRun(1).start; }

BlockRun BlockAllocator::takeRun(uint64_t count) {
    uint64_t start = cursor_;
    uint64_t found = 0;
    while (found < count) {
        if (start + found >= used_.size())
            throw std::invalid_argument("pool " + poolName_ + " is too small for its contents");
        if (used_[start + found]) {
            start += found + 1;
            found = 0;
        } else {
            ++found;
        }
    }
    for (uint64_t b = start; b < start + count; ++b) used_[b] = true;
    cursor_ = start + count;
    return {start, count};
}

std::vector<BlockRun> BlockAllocator::takeRuns(uint64_t count, uint32_t pieces) {
    std::vector<BlockRun> runs;
    if (count == 0) return runs;
    const uint64_t n = std::clamp<uint64_t>(pieces, 1, count);
    for (uint64_t i = 0; i < n; ++i) {
        const uint64_t size = count / n + (i < count % n ? 1 : 0);
        runs.push_back(takeRun(size));
        if (i + 1 < n) ++cursor_;  // the gap that makes the file fragmented
    }
    return runs;
}

}  // namespace lumbra::test
