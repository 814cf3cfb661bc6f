#include "picture/disk_layout_index.h"

#include <algorithm>
#include <unordered_map>

namespace lumbra {

DiskLayoutIndex::DiskLayoutIndex(const DiskPicture& picture) {
    for (const PictureSpan& span : picture.spans()) {
        if (span.kind == PictureKind::FileData || span.kind == PictureKind::Metadata)
            entries_.push_back({span.first, span.first + span.count, span.owner, span.kind});
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
    reach_.reserve(entries_.size());
    uint64_t reach = 0;
    for (const Entry& entry : entries_) {
        reach = std::max(reach, entry.end);
        reach_.push_back(reach);
    }
}

std::vector<LayoutHit> DiskLayoutIndex::at(uint64_t first, uint64_t count) const {
    const uint64_t end = count > UINT64_MAX - first ? UINT64_MAX : first + count;
    std::vector<LayoutHit> hits;
    if (count == 0) return hits;
    // Entries that start before the end; walking back, the first whose reach stays at or
    // below `first` ends the search, since every entry before it ends there too.
    size_t i = std::lower_bound(entries_.begin(), entries_.end(), end,
                                [](const Entry& entry, uint64_t sector) { return entry.first < sector; }) -
               entries_.begin();
    std::unordered_map<uint64_t, size_t> byOwner;
    while (i > 0 && reach_[i - 1] > first) {
        const Entry& entry = entries_[--i];
        if (entry.end <= first) continue;
        const uint64_t from = std::max(entry.first, first);
        const uint64_t to = std::min(entry.end, end);
        const uint64_t key = (uint64_t(entry.kind) << 32) | entry.owner;
        const auto [place, added] = byOwner.try_emplace(key, hits.size());
        if (added) {
            hits.push_back({entry.kind, entry.owner, from, to - from});
        } else {
            LayoutHit& hit = hits[place->second];
            hit.firstSector = std::min(hit.firstSector, from);
            hit.sectors += to - from;
        }
    }
    std::sort(hits.begin(), hits.end(), [](const LayoutHit& a, const LayoutHit& b) {
        if (a.firstSector != b.firstSector) return a.firstSector < b.firstSector;
        if (a.kind != b.kind) return a.kind > b.kind;
        return a.owner < b.owner;
    });
    return hits;
}

}  // namespace lumbra
