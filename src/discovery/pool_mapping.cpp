#include "discovery/pool_mapping.h"

#include <algorithm>
#include <limits>

#include "disk/sector.h"

namespace lumbra {

std::optional<uint64_t> PoolToDiskSector(const SelectedPool& pool, uint64_t poolSector) {
    // Never trust segmentCount beyond the segments actually held (a snapshot may disagree).
    const size_t segments = std::min<size_t>(
        {pool.segmentCount, pool.segmentStart.size(), pool.segmentExtent.size()});
    if (segments == 0) return std::nullopt;
    if (pool.segmentCount == 1) return pool.segmentStart[0] + poolSector;
    uint64_t remaining = poolSector;
    for (size_t segment = 0; segment < segments; ++segment) {
        if (remaining < pool.segmentExtent[segment])
            return pool.segmentStart[segment] + remaining;
        remaining -= pool.segmentExtent[segment];
    }
    return std::nullopt;
}

std::optional<uint64_t> PoolBlockToDiskSector(const SelectedPool& pool, uint64_t block) {
    if (block > std::numeric_limits<uint64_t>::max() / kSectorsPerBlock) return std::nullopt;
    return PoolToDiskSector(pool, block * kSectorsPerBlock);
}

}  // namespace lumbra
