#include "disk/damage_map.h"

#include <algorithm>

#include "disk/range_merge.h"

namespace lumbra {

void DamageMap::add(uint64_t first, uint64_t count) {
    if (count == 0) return;
    std::lock_guard lock(mutex_);
    MergeRange(ends_, first, ClampedEnd(first, count));
}

void DamageMap::noteMetadataRead(uint64_t first, uint64_t count, uint64_t diskEnd) {
    const uint64_t end = std::min(ClampedEnd(first, count), diskEnd);
    if (first >= end) return;
    std::lock_guard lock(mutex_);
    std::vector<std::pair<uint64_t, uint64_t>> damaged;
    for (auto it = firstReaching(first); it != ends_.end() && it->first < end; ++it)
        damaged.emplace_back(std::max(first, it->first), std::min(end, it->second));
    for (const auto& [from, to] : damaged) MergeRange(metadataEnds_, from, to);
}

MetadataDamage DamageMap::metadataDamage() const {
    std::lock_guard lock(mutex_);
    MetadataDamage damage;
    for (const auto& [first, end] : metadataEnds_) damage.sectors += end - first;
    if (!metadataEnds_.empty()) damage.firstSector = metadataEnds_.begin()->first;
    return damage;
}

std::vector<SectorRange> DamageMap::metadataRanges() const {
    std::lock_guard lock(mutex_);
    std::vector<SectorRange> ranges;
    for (const auto& [first, end] : metadataEnds_) ranges.push_back({first, end - first});
    return ranges;
}

// The first range whose end lies beyond `sector`; the caller holds the lock.
std::map<uint64_t, uint64_t>::const_iterator DamageMap::firstReaching(uint64_t sector) const {
    auto it = ends_.upper_bound(sector);
    if (it != ends_.begin() && std::prev(it)->second > sector) --it;
    return it;
}

std::vector<SectorRange> DamageMap::within(uint64_t first, uint64_t count) const {
    std::vector<SectorRange> found;
    if (count == 0) return found;
    const uint64_t end = ClampedEnd(first, count);
    std::lock_guard lock(mutex_);
    for (auto it = firstReaching(first); it != ends_.end() && it->first < end; ++it) {
        const uint64_t from = std::max(first, it->first);
        const uint64_t to = std::min(end, it->second);
        found.push_back({from, to - from});
    }
    return found;
}

bool DamageMap::touches(uint64_t first, uint64_t count) const {
    if (count == 0) return false;
    std::lock_guard lock(mutex_);
    auto it = firstReaching(first);
    return it != ends_.end() && (it->first <= first || it->first - first < count);
}

std::vector<SectorRange> DamageMap::ranges() const {
    std::lock_guard lock(mutex_);
    return RangeList(ends_);
}

uint64_t DamageMap::sectorTotal() const {
    std::lock_guard lock(mutex_);
    uint64_t total = 0;
    for (const auto& [first, end] : ends_) total += end - first;
    return total;
}

bool DamageMap::empty() const {
    std::lock_guard lock(mutex_);
    return ends_.empty();
}

bool DamageMap::knownInAdvance() const {
    std::lock_guard lock(mutex_);
    return knownInAdvance_;
}

void DamageMap::setKnownInAdvance() {
    std::lock_guard lock(mutex_);
    knownInAdvance_ = true;
}

}  // namespace lumbra
