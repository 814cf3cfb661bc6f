#pragma once
// Pool-relative sectors to disk sectors, through the segments of the selected pool.
#include <cstdint>
#include <optional>

#include "discovery/pool_table.h"

namespace lumbra {

// Maps a pool-relative sector to a disk sector. A one-segment pool adds its data start. A pool
// of several segments lays them end to end in segment-number order, each segmentExtent sectors
// long; a sector beyond the last segment is not mapped. A pool without segments maps nothing.
std::optional<uint64_t> PoolToDiskSector(const SelectedPool& pool, uint64_t poolSector);

// The disk sector of pool block `block` (pool-relative sector 8 * block); nullopt when the
// block number is too large to be a sector number or the mapping fails.
std::optional<uint64_t> PoolBlockToDiskSector(const SelectedPool& pool, uint64_t block);

}  // namespace lumbra
