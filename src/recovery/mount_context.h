#pragma once
// Everything a mount works with: the source, the selected pool, the block queue it walks, the
// recovered tree it fills, where it reports, and the stop flag the front end sets.
#include <atomic>
#include <cstdint>

#include "discovery/pool_table.h"
#include "discovery/volume_table.h"
#include "disk/sector_reader.h"
#include "recovery/mount_events.h"
#include "recovery/record_lists.h"

namespace lumbra {

struct MountContext {
    SectorReader& reader;
    const SelectedPool& pool;
    BlockQueue& blockQueue;
    RecoveredTree& tree;
    MountEvents& events;
    // Set to 1 by the front end (after the user confirmed Stop); polled at every block and
    // every record. The mount clears it before the lost-data search.
    std::atomic<int32_t>& stopRequested;

    bool stopped() const { return stopRequested.load(std::memory_order_relaxed) != 0; }
};

}  // namespace lumbra
