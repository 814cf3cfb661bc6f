#include "app/live_disk_facts.h"

namespace lumbra {

void LiveDiskFacts::clear() {
    const std::lock_guard lock(mutex_);
    learned_ = {};
    asked_.store(false, std::memory_order_relaxed);
    version_.fetch_add(1, std::memory_order_release);
}

LiveDiskFacts::Learned LiveDiskFacts::learned() const {
    const std::lock_guard lock(mutex_);
    return learned_;
}

template <typename Add>
void LiveDiskFacts::offer(Add add) {
    if (!asked_.load(std::memory_order_relaxed)) return;
    const std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return;
    asked_.store(false, std::memory_order_relaxed);
    if (add(learned_)) version_.fetch_add(1, std::memory_order_release);
}

void LiveDiskFacts::offerPools(const PoolTable& pools) {
    offer([&](Learned& learned) {
        // A scan that goes on from a stopped one starts from the pools that one found.
        if (pools.count() < learned.pools.size()) learned.pools.clear();
        const size_t before = learned.pools.size();
        for (uint32_t row = static_cast<uint32_t>(before); row < pools.count(); ++row)
            if (auto pool = SelectPool(pools, row)) learned.pools.push_back(std::move(*pool));
        return learned.pools.size() != before;
    });
}

void LiveDiskFacts::offerBlocks(const BlockQueue& queue) {
    offer([&](Learned& learned) {
        if (queue.size() < learned.volumeTreeBlocks.size()) learned.volumeTreeBlocks.clear();
        const size_t before = learned.volumeTreeBlocks.size();
        for (size_t i = before; i < queue.size(); ++i) learned.volumeTreeBlocks.push_back(queue[i]);
        return learned.volumeTreeBlocks.size() != before;
    });
}

}  // namespace lumbra
