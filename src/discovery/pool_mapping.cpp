#include "discovery/pool_mapping.h"

#include <algorithm>
#include <limits>

#include "disk/sector.h"

namespace lumbra {

std::optional<PoolRun> MapPoolRun(const SelectedPool& pool, uint64_t poolSector) {
    // Never trust segmentCount beyond the segments actually held (a snapshot may disagree).
    const size_t segments = std::min<size_t>(
        {pool.segmentCount, pool.segmentStart.size(), pool.segmentExtent.size()});
    if (segments == 0) return std::nullopt;
    if (pool.segmentCount == 1) {
        if (poolSector >= pool.poolSize) return std::nullopt;
        return PoolRun{pool.segmentStart[0] + poolSector, pool.poolSize - poolSector};
    }
    uint64_t remaining = poolSector;
    for (size_t segment = 0; segment < segments; ++segment) {
        if (remaining < pool.segmentExtent[segment])
            return PoolRun{pool.segmentStart[segment] + remaining, pool.segmentExtent[segment] - remaining};
        remaining -= pool.segmentExtent[segment];
    }
    return std::nullopt;
}

std::optional<uint64_t> PoolToDiskSector(const SelectedPool& pool, uint64_t poolSector) {
    const auto run = MapPoolRun(pool, poolSector);
    if (!run) return std::nullopt;
    return run->diskSector;
}

std::optional<PoolRun> MapPoolBlock(const SelectedPool& pool, uint64_t block) {
    if (block > std::numeric_limits<uint64_t>::max() / kSectorsPerBlock) return std::nullopt;
    return MapPoolRun(pool, block * kSectorsPerBlock);
}

std::optional<uint64_t> PoolBlockToDiskSector(const SelectedPool& pool, uint64_t block) {
    const auto run = MapPoolBlock(pool, block);
    if (!run) return std::nullopt;
    return run->diskSector;
}

BlockRuns BlockRunsAt(const SelectedPool& pool, uint64_t diskSector) {
    BlockRuns block;
    const size_t segments = std::min<size_t>(
        {pool.segmentCount, pool.segmentStart.size(), pool.segmentExtent.size()});
    const auto segmentEnd = [&pool](size_t segment) {
        return uint64_t{pool.segmentStart[segment]} + pool.segmentExtent[segment];
    };
    size_t first = segments;
    if (pool.segmentCount > 1)
        for (size_t segment = 0; segment < segments && first == segments; ++segment)
            if (diskSector >= pool.segmentStart[segment] && diskSector < segmentEnd(segment)) first = segment;
    if (first == segments) {
        block.runs[block.count++] = PoolRun{diskSector, kSectorsPerBlock};
        return block;
    }
    uint64_t left = kSectorsPerBlock;
    uint64_t at = diskSector;
    for (size_t segment = first; segment < segments && left > 0; ++segment) {
        if (segment != first) at = pool.segmentStart[segment];
        if (at >= segmentEnd(segment)) continue;
        const uint64_t sectors = std::min(left, segmentEnd(segment) - at);
        block.runs[block.count++] = PoolRun{at, sectors};
        left -= sectors;
    }
    return block;
}

}  // namespace lumbra
