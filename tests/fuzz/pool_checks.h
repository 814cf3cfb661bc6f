#pragma once
// Properties every pool table holds, however hostile the disk it was read from.
#include <set>

#include "discovery/pool_table.h"
#include "fuzz_input.h"

namespace lumbra::fuzz {

inline void CheckPoolTable(const PoolTable& pools) {
    FUZZ_CHECK(pools.count() <= kMaxPools);
    std::set<uint32_t> dataStarts;
    for (const PoolEntry& pool : pools.pools()) {
        FUZZ_CHECK(pool.name.size() <= kMaxPoolNameLength);
        FUZZ_CHECK(pool.segmentCount < kMaxSegments);
        FUZZ_CHECK(pool.segmentStart.size() == pool.segmentCount);
        FUZZ_CHECK(pool.segmentExtent.size() == pool.segmentCount);
        // A pool met twice is listed once.
        if (!pool.segmentStart.empty()) FUZZ_CHECK(dataStarts.insert(pool.segmentStart[0]).second);
    }
}

}  // namespace lumbra::fuzz
