#pragma once
// The sectors of one opened drive that could not be read: each sector that failed every
// attempt, each sector asked for past the end of the device, and each sector a rescue map marks
// as never read. Kept as sorted, merged ranges, so a query costs O(log n) in the number of
// ranges. A worker adds while the user-interface thread reads; a small mutex keeps them apart.
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace lumbra {

// Sectors [first, first + count). count is at least 1 in every range a map hands out.
struct SectorRange {
    uint64_t first = 0;
    uint64_t count = 0;
    uint64_t end() const { return first + count; }
    bool operator==(const SectorRange&) const = default;
};

class DamageMap {
public:
    // Adds sectors [first, first + count); ranges that touch or overlap merge. The end is
    // clamped to the largest sector number instead of wrapping.
    void add(uint64_t first, uint64_t count);

    // The damaged parts of [first, first + count), clipped to it, in order.
    std::vector<SectorRange> within(uint64_t first, uint64_t count) const;
    // True when any sector of [first, first + count) is damaged.
    bool touches(uint64_t first, uint64_t count) const;

    std::vector<SectorRange> ranges() const;
    uint64_t sectorTotal() const;
    bool empty() const;

    // True once a rescue map has filled the map before any read: the damage of every sector is
    // then known without reading it.
    bool knownInAdvance() const;
    void setKnownInAdvance();

private:
    std::map<uint64_t, uint64_t>::const_iterator firstReaching(uint64_t sector) const;

    mutable std::mutex mutex_;
    std::map<uint64_t, uint64_t> ends_;  // first sector -> one past the last; disjoint, not touching
    bool knownInAdvance_ = false;
};

}  // namespace lumbra
