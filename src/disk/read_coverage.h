#pragma once
// Which sectors of one opened drive the program has asked for, and which it knows without
// asking were never read: those a rescue map marks as never tried by the copier, whose bytes
// the image does not hold. The disk picture shows every other sector as never read.
//
// The reads are kept as sorted, merged ranges. A hostile pattern (every other sector) would
// make one range per read, so the count is bounded: past kMaxReadRanges, the smallest gaps
// between ranges are closed (their sectors then count as read) until at most half the bound
// is left. A closed gap is never wider than gapClosed(), which only grows. A worker adds while
// the user-interface thread reads; a small mutex keeps them apart.
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "disk/damage_map.h"

namespace lumbra {

class ReadCoverage {
public:
    static constexpr size_t kMaxReadRanges = 32768;

    // Notes a read of [first, first + count); the end is clamped instead of wrapping.
    void addRead(uint64_t first, uint64_t count);
    // Sorted, disjoint sector ranges the copier never tried; set when the drive is opened.
    void setUntried(std::vector<SectorRange> untried);

    std::vector<SectorRange> reads() const;
    std::vector<SectorRange> untried() const;
    // Sectors in reads(); changes with every read that reaches a sector not yet counted.
    uint64_t readTotal() const;
    size_t rangeCount() const;
    // The widest gap closed to keep the count bounded; 0 while every range is exact.
    uint64_t gapClosed() const;

private:
    void closeGaps();

    mutable std::mutex mutex_;
    std::map<uint64_t, uint64_t> ends_;  // first sector -> one past the last; disjoint, not touching
    uint64_t total_ = 0;
    uint64_t gapClosed_ = 0;
    std::vector<SectorRange> untried_;
};

}  // namespace lumbra
