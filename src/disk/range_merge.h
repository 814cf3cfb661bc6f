#pragma once
// Sorted, disjoint sector ranges kept as a map from first sector to one past the last, as the
// damage map and the read coverage keep them.
#include <cstdint>
#include <map>
#include <vector>

#include "disk/damage_map.h"

namespace lumbra {

// Adds [first, end) to disjoint, non-touching ranges, merging those it touches or overlaps;
// answers how many sectors were not in the ranges before.
uint64_t MergeRange(std::map<uint64_t, uint64_t>& ends, uint64_t first, uint64_t end);

// The ranges as a list, in order.
std::vector<SectorRange> RangeList(const std::map<uint64_t, uint64_t>& ends);

// first + count, clamped to the largest sector number instead of wrapping.
uint64_t ClampedEnd(uint64_t first, uint64_t count);

}  // namespace lumbra
