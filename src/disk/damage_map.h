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

// The damaged sectors that held on-disk structures the parsers read (partition table and
// headers, pool information, superblock, object tree, volume root, B-tree nodes).
struct MetadataDamage {
    uint64_t sectors = 0;      // how many, each counted once
    uint64_t firstSector = 0;  // the lowest of them; 0 when there is none
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

    // Notes a read of on-disk structures at [first, first + count): its damaged sectors before
    // diskEnd (the source's end; a link past it points at nothing, which is no damage) count as
    // unreadable metadata. Kept beside the ranges, which it never changes.
    void noteMetadataRead(uint64_t first, uint64_t count, uint64_t diskEnd);
    MetadataDamage metadataDamage() const;
    // The damaged sectors of structures, as sorted ranges.
    std::vector<SectorRange> metadataRanges() const;

    // True once a rescue map has filled the map before any read: the damage of every sector is
    // then known without reading it.
    bool knownInAdvance() const;
    void setKnownInAdvance();

private:
    std::map<uint64_t, uint64_t>::const_iterator firstReaching(uint64_t sector) const;

    mutable std::mutex mutex_;
    std::map<uint64_t, uint64_t> ends_;  // first sector -> one past the last; disjoint, not touching
    std::map<uint64_t, uint64_t> metadataEnds_;  // the same, for the damaged sectors of structures
    bool knownInAdvance_ = false;
};

}  // namespace lumbra
