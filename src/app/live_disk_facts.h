#pragma once
// What a running scan or mount has learned so far, handed to the disk map while the tables it
// fills are the worker's. The map asks on its timer; at its next event after that the worker
// copies what it learned since its last offer, and else does no more than look at one flag.
// The worker never waits for the map: when the map is taking its copy at that moment, the
// offer is left for a later event.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "discovery/pool_table.h"
#include "discovery/volume_table.h"

namespace lumbra {

class LiveDiskFacts {
public:
    struct Learned {
        std::vector<SelectedPool> pools;         // found so far by a scan, by row
        std::vector<uint64_t> volumeTreeBlocks;  // queued so far by a mount, disk sectors
    };

    // On the user-interface thread before a worker starts: what the last one learned is gone.
    void clear();

    // The map's side. ask: the worker's next event offers. learned: a copy of what it offered.
    // version: grows with every offer that added something, so that an unchanged one is not
    // copied again.
    void ask() { asked_.store(true, std::memory_order_relaxed); }
    Learned learned() const;
    uint64_t version() const { return version_.load(std::memory_order_acquire); }

    // The worker's side, at its events: each offers only when the map asked.
    void offerPools(const PoolTable& pools);
    void offerBlocks(const BlockQueue& queue);

private:
    // Runs `add` on what was learned when the map asked and does not hold it; add answers
    // whether it added something.
    template <typename Add>
    void offer(Add add);

    std::atomic<bool> asked_{false};
    std::atomic<uint64_t> version_{0};
    mutable std::mutex mutex_;
    Learned learned_;
};

}  // namespace lumbra
