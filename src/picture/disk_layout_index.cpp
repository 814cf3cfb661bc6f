#include "picture/disk_layout_index.h"

#include <algorithm>
#include <unordered_map>

namespace lumbra {

DiskLayoutIndex::DiskLayoutIndex(const DiskPicture& picture, bool partitionStructures) : picture_(picture) {
    // File data is mostly laid out in the order it was written, and structures are few: each
    // part is sorted only when it is not already, and the two are merged.
    const auto& spans = picture.spans();
    std::vector<uint32_t> metadata;
    std::vector<uint32_t> files;
    files.reserve(spans.size());
    for (uint32_t i = 0; i < spans.size(); ++i) {
        if (spans[i].kind == PictureKind::FileData) files.push_back(i);
        else if (spans[i].kind == PictureKind::Metadata) metadata.push_back(i);
        else if (partitionStructures && (spans[i].kind == PictureKind::PartitionTable ||
                                         spans[i].kind == PictureKind::PartitionHeader))
            metadata.push_back(i);
    }
    const auto byFirst = [&spans](uint32_t a, uint32_t b) { return spans[a].first < spans[b].first; };
    for (std::vector<uint32_t>* part : {&metadata, &files})
        if (!std::is_sorted(part->begin(), part->end(), byFirst)) std::sort(part->begin(), part->end(), byFirst);
    order_.resize(metadata.size() + files.size());
    std::merge(metadata.begin(), metadata.end(), files.begin(), files.end(), order_.begin(), byFirst);
    reach_.reserve(order_.size());
    uint64_t reach = 0;
    for (uint32_t i : order_) {
        reach = std::max(reach, spans[i].first + spans[i].count);
        reach_.push_back(reach);
    }
}

std::vector<LayoutHit> DiskLayoutIndex::at(uint64_t first, uint64_t count) const {
    const uint64_t end = count > UINT64_MAX - first ? UINT64_MAX : first + count;
    std::vector<LayoutHit> hits;
    if (count == 0) return hits;
    // Entries that start before the end; walking back, the first whose reach stays at or
    // below `first` ends the search, since every entry before it ends there too.
    const auto& spans = picture_.spans();
    size_t i = std::lower_bound(order_.begin(), order_.end(), end,
                                [&spans](uint32_t span, uint64_t sector) { return spans[span].first < sector; }) -
               order_.begin();
    std::unordered_map<uint64_t, size_t> byOwner;
    while (i > 0 && reach_[i - 1] > first) {
        const PictureSpan& span = entry(--i);
        const uint64_t spanEnd = span.first + span.count;
        if (spanEnd <= first) continue;
        const uint64_t from = std::max(span.first, first);
        const uint64_t to = std::min(spanEnd, end);
        const uint64_t key = (uint64_t(span.kind) << 32) | span.owner;
        const auto [place, added] = byOwner.try_emplace(key, hits.size());
        if (added) {
            hits.push_back({span.kind, span.owner, from, to - from});
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
