#pragma once
// The volumes of the selected pool, from its superblock and object tree.
#include <cstdint>

#include "discovery/memory_failure.h"
#include "discovery/pool_table.h"
#include "discovery/volume_table.h"
#include "disk/sector_reader.h"

namespace lumbra {

enum class RecoveryMode : uint16_t { VolumeBased = 1, PoolBased = 2 };

// Refills tree, volumes and queue for `pool`. Volume based: the superblock must carry "SPB";
// the object tree is walked breadth-first from its root and every volume record of its leaves
// is listed (at most kMaxVolumes; each block is visited once, so looping links end). Pool
// based: the superblock's magic is not required and the pool itself is the one entry. No
// volumes when the superblock is missing (volume based) or the root block cannot be mapped.
// MemoryFailure::QueueEntry when a queue entry could not be allocated; the walk ends there.
MemoryFailure DiscoverVolumes(SectorReader& reader, const SelectedPool& pool, RecoveryMode recoveryMode,
                     ObjectTree& tree, VolumeTable& volumes, BlockQueue& queue);

}  // namespace lumbra
