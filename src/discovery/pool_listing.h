#pragma once
// Pools from the PC partition table.
#include "discovery/pool_table.h"
#include "disk/sector_reader.h"

namespace lumbra {

// Clears the table, reads sector 0 and walks the partition chain from the first sector of
// every used entry (extended partitions are not followed). False when sector 0 carries no
// partition table; the pools found are then none. An empty table after a true answer means
// the table held no NSS pool.
bool ListPoolsFromPartitionTable(SectorReader& reader, PoolTable& pools);

}  // namespace lumbra
