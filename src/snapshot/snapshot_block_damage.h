#pragma once
// Whether what a check of a snapshot read could not be read: such a place is not compared,
// since an unreadable sector says nothing about which disk this is.
#include <cstdint>

#include "discovery/pool_table.h"
#include "disk/sector_reader.h"

namespace lumbra {

// True when a sector of [first, first + count) is known damaged on this drive.
bool SectorsDamaged(const SectorReader& reader, uint64_t first, uint64_t count);

// True when a sector of the pool block at diskSector, as the pool mapping places it, is damaged.
bool BlockDamaged(const SectorReader& reader, const SelectedPool& pool, uint64_t diskSector);

}  // namespace lumbra
