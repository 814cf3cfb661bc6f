#pragma once
// The chain of NetWare partition headers, and the pools found along it.
#include <cstdint>
#include <optional>
#include <string_view>

#include "discovery/pool_table.h"
#include "disk/sector_reader.h"

namespace lumbra {

// Where a chain of partition headers starts: a partition table entry's first sector and end
// (one past its last sector), or a header a scan found (no end).
struct ChainEntry {
    uint64_t first = 0;
    std::optional<uint64_t> end;
};

// Follows the chain of partition headers that starts at entry.first and adds every pool met
// along it to the table: a pool on its own partition at once (sized as PoolSizeSource says),
// a segmented pool when its segment 0 is met and all its segments are found from entry.first.
// A pool whose segment 0 data start is already in the table is not added again. The walk ends
// at a sector that is not a header, at a zero link, at a header already visited, or when the
// table is full.
void WalkPartitionChain(SectorReader& reader, const ChainEntry& entry, PoolTable& pools);

// A segmented pool as gathered, and where its segment 0's data begins: what tells the pool met
// again, also when it keeps no segment places.
struct CollectedPool {
    PoolEntry pool;
    uint32_t segmentZeroStart = 0;
};

// Walks the chain from firstSector again and gathers the segments of the segmented pool named
// poolName until segmentTotal of them are met. Each segment number below kMaxSegments counts
// once (the first header met wins), also one not below segmentTotal; a larger one is passed
// over. segmentCount and poolSize are those of the last segment met, and the pool keeps the
// places of its first segmentCount segments. nullopt when segments are missing (segment 0
// among them: a total met before segment 0 leaves the pool without it), when
// segmentTotal or the final segmentCount is kMaxSegments or more, when segmentTotal is 0, or
// when the pool's segment 0 data start is already known to `known`.
std::optional<CollectedPool> CollectPoolSegments(SectorReader& reader, const PoolTable& known,
                                                 std::string_view poolName, uint64_t firstSector,
                                                 uint32_t segmentTotal);

// Distance in sectors from the header at `header` to its segment's data: the first data-start
// marker of the four candidate sectors, or 32.
uint32_t FindDataOffset(SectorReader& reader, uint64_t header);

}  // namespace lumbra
