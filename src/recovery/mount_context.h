#pragma once
// Everything a mount works with: the source, the selected pool, the block queue it walks, the
// recovered tree it fills, where it reports, and the stop flag the front end sets.
#include <atomic>
#include <cstdint>
#include <new>

#include "discovery/memory_failure.h"
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
    // Set when a block queue entry could not be allocated; the mount ends there.
    MemoryFailure memoryFailure = MemoryFailure::None;

    bool stopped() const {
        return memoryFailure != MemoryFailure::None || stopRequested.load(std::memory_order_relaxed) != 0;
    }
};

// Appends a B-tree block to the queue of the mount; a failed allocation ends the mount.
inline bool QueueBlock(MountContext& context, uint64_t sector) {
    try {
        return context.blockQueue.append(sector);
    } catch (const std::bad_alloc&) {
        context.memoryFailure = MemoryFailure::QueueEntry;
        return false;
    }
}

}  // namespace lumbra
