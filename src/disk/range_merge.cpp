#include "disk/range_merge.h"

#include <algorithm>
#include <limits>

namespace lumbra {

uint64_t MergeRange(std::map<uint64_t, uint64_t>& ends, uint64_t first, uint64_t end) {
    auto it = ends.upper_bound(first);
    if (it != ends.begin() && std::prev(it)->second >= first) --it;
    uint64_t before = 0;
    while (it != ends.end() && it->first <= end) {
        first = std::min(first, it->first);
        end = std::max(end, it->second);
        before += it->second - it->first;
        it = ends.erase(it);
    }
    ends.emplace(first, end);
    return end - first - before;
}

std::vector<SectorRange> RangeList(const std::map<uint64_t, uint64_t>& ends) {
    std::vector<SectorRange> all;
    all.reserve(ends.size());
    for (const auto& [first, end] : ends) all.push_back({first, end - first});
    return all;
}

uint64_t ClampedEnd(uint64_t first, uint64_t count) {
    return count > std::numeric_limits<uint64_t>::max() - first ? std::numeric_limits<uint64_t>::max() : first + count;
}

}  // namespace lumbra
