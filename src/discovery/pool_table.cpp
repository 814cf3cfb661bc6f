#include "discovery/pool_table.h"

namespace lumbra {

bool PoolTable::add(PoolEntry pool) {
    if (full()) return false;
    pools_.push_back(std::move(pool));
    return true;
}

bool PoolTable::knowsDataStart(uint32_t dataStart) const {
    for (const PoolEntry& pool : pools_)
        if (!pool.segmentStart.empty() && pool.segmentStart[0] == dataStart) return true;
    return false;
}

std::optional<SelectedPool> SelectPool(const PoolTable& table, uint32_t selectedPool) {
    if (selectedPool >= table.count()) return std::nullopt;
    const PoolEntry& row = table[selectedPool];
    return SelectedPool{row.name, row.poolSize, row.segmentCount, row.segmentStart,
                        row.segmentExtent};
}

}  // namespace lumbra
