#include "discovery/pool_table.h"

#include <algorithm>

namespace lumbra {

bool PoolTable::add(PoolEntry pool, std::optional<uint32_t> segmentZeroStart) {
    if (full()) return false;
    if (!segmentZeroStart && !pool.segmentStart.empty()) segmentZeroStart = pool.segmentStart[0];
    if (segmentZeroStart) segmentZeroStarts_.push_back(*segmentZeroStart);
    pools_.push_back(std::move(pool));
    return true;
}

bool PoolTable::knowsDataStart(uint32_t dataStart) const {
    return std::find(segmentZeroStarts_.begin(), segmentZeroStarts_.end(), dataStart) != segmentZeroStarts_.end();
}

std::optional<SelectedPool> SelectPool(const PoolTable& table, uint32_t selectedPool) {
    if (selectedPool >= table.count()) return std::nullopt;
    const PoolEntry& row = table[selectedPool];
    return SelectedPool{row.name, row.poolSize, row.segmentCount, row.segmentStart,
                        row.segmentExtent};
}

}  // namespace lumbra
