#include "snapshot/snapshot_block_damage.h"

#include "discovery/pool_mapping.h"

namespace lumbra {

bool SectorsDamaged(const SectorReader& reader, uint64_t first, uint64_t count) {
    const DamageMap* damage = reader.damageMap();
    return damage && damage->touches(first, count);
}

bool BlockDamaged(const SectorReader& reader, const SelectedPool& pool, uint64_t diskSector) {
    const BlockRuns block = BlockRunsAt(pool, diskSector);
    for (size_t i = 0; i < block.count; ++i)
        if (SectorsDamaged(reader, block.runs[i].diskSector, block.runs[i].sectors)) return true;
    return false;
}

}  // namespace lumbra
