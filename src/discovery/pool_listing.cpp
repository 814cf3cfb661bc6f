#include "discovery/pool_listing.h"

#include "discovery/partition_chain.h"
#include "discovery/partition_table.h"
#include "discovery/sector_io.h"

namespace lumbra {

bool ListPoolsFromPartitionTable(SectorReader& reader, PoolTable& pools) {
    pools.clear();
    const auto table = ParsePartitionTable(ReadOneSector(reader, 0));
    if (!table) return false;
    for (const PartitionTableEntry& entry : *table) {
        if (entry.used())
            WalkPartitionChain(reader, {entry.firstSector, uint64_t{entry.firstSector} + entry.sectorCount}, pools);
    }
    return true;
}

}  // namespace lumbra
