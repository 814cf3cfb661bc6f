#pragma once
// Pool-relative sectors to disk sectors, through the segments of the selected pool.
#include <array>
#include <cstdint>
#include <optional>

#include "discovery/pool_table.h"
#include "disk/sector.h"

namespace lumbra {

// Where a pool-relative sector lies on the disk, and how many pool sectors from it lie there
// one after another (up to the end of its segment, or of a one-segment pool).
struct PoolRun {
    uint64_t diskSector = 0;
    uint64_t sectors = 0;  // at least 1
};

// Maps a pool-relative sector. A one-segment pool adds its data start to sectors below its
// poolSize; a damaged record cannot reach past the pool into whatever follows it on the disk.
// A pool of several segments lays them end to end in segment-number order, each segmentExtent
// sectors long; a sector beyond the last segment is not mapped. A pool without segments maps
// nothing. No sum overflows: every mapped sector is a 32-bit start plus a 32-bit offset.
std::optional<PoolRun> MapPoolRun(const SelectedPool& pool, uint64_t poolSector);

// The disk sector alone.
std::optional<uint64_t> PoolToDiskSector(const SelectedPool& pool, uint64_t poolSector);

// The same for pool block `block` (pool-relative sector 8 * block); nullopt when the block
// number is too large to be a sector number or the mapping fails.
std::optional<PoolRun> MapPoolBlock(const SelectedPool& pool, uint64_t block);
std::optional<uint64_t> PoolBlockToDiskSector(const SelectedPool& pool, uint64_t block);

// The disk runs of the pool block that starts at disk sector `diskSector` (as PoolBlockToDiskSector
// gives it). A segment whose extent is no multiple of 8 ends inside a block: the block's first
// sectors lie at the end of that segment and the rest at the start of the next ones. Sectors
// past the last segment are left out (they read as zeros). A block inside one segment, or one
// that starts in no segment of a pool of several, is one run of kSectorsPerBlock sectors.
struct BlockRuns {
    std::array<PoolRun, kSectorsPerBlock> runs{};
    size_t count = 0;
};
BlockRuns BlockRunsAt(const SelectedPool& pool, uint64_t diskSector);

}  // namespace lumbra
