#include "picture/disk_picture.h"

#include <algorithm>

#include "disk/sector.h"

namespace lumbra {
namespace {

uint64_t MergedLength(std::vector<std::pair<uint64_t, uint64_t>>& ranges) {
    std::sort(ranges.begin(), ranges.end());
    uint64_t total = 0;
    uint64_t reached = 0;
    for (const auto& [from, to] : ranges) {
        const uint64_t begin = std::max(from, reached);
        if (to > begin) total += to - begin;
        reached = std::max(reached, to);
    }
    return total;
}

// The parts of the ranges that no range of `holes` covers; both sorted and disjoint.
std::vector<SectorRange> RangesOutside(const std::vector<SectorRange>& ranges, const std::vector<SectorRange>& holes) {
    std::vector<SectorRange> outside;
    auto hole = holes.begin();
    for (const SectorRange& range : ranges) {
        uint64_t at = range.first;
        while (hole != holes.end() && hole->end() <= at) ++hole;
        for (auto cut = hole; at < range.end() && cut != holes.end() && cut->first < range.end(); ++cut) {
            if (cut->first > at) outside.push_back({at, cut->first - at});
            at = std::max(at, cut->end());
        }
        if (at < range.end()) outside.push_back({at, range.end() - at});
    }
    return outside;
}

}  // namespace

void DiskPicture::add(const PictureSpan& span) {
    if (span.first >= diskSectors_ || span.count == 0) return;
    PictureSpan cut = span;
    cut.count = std::min(span.count, diskSectors_ - span.first);
    spans_.push_back(cut);
}

void DiskPicture::addMetadata(MetadataKind kind, uint64_t sector, const std::vector<SectorRange>& runs) {
    metadata_.push_back({kind, sector});
    for (const SectorRange& run : runs)
        add({run.first, run.count, PictureKind::Metadata, static_cast<uint32_t>(metadata_.size() - 1)});
}

void DiskPicture::setReads(const DamageMap* damage, const ReadCoverage* coverage) {
    std::erase_if(spans_, [](const PictureSpan& span) {
        return span.kind == PictureKind::Damaged || span.kind == PictureKind::NeverRead;
    });
    const std::vector<SectorRange> untried = coverage ? coverage->untried() : std::vector<SectorRange>();
    if (damage)
        for (const SectorRange& range : RangesOutside(damage->ranges(), untried))
            add({range.first, range.count, PictureKind::Damaged, 0});
    if (!coverage) return;
    for (const SectorRange& range : RangesOutside({{0, diskSectors_}}, coverage->reads()))
        add({range.first, range.count, PictureKind::NeverRead, 0});
    for (const SectorRange& range : untried) add({range.first, range.count, PictureKind::NeverRead, 0});
}

void DiskPicture::setScanPosition(std::optional<uint64_t> sector) {
    std::erase_if(spans_, [](const PictureSpan& span) { return span.kind == PictureKind::ScanPosition; });
    if (sector) add({*sector, 1, PictureKind::ScanPosition, 0});
}

std::vector<PictureCell> DiskPicture::cells(uint64_t first, uint64_t end, uint32_t count) const {
    end = std::min(end, diskSectors_);
    if (first >= end || count == 0) return {};
    __extension__ typedef unsigned __int128 Wide;
    const uint64_t length = end - first;
    const uint64_t n = std::min<uint64_t>(count, length);
    const auto start = [&](uint64_t i) { return first + static_cast<uint64_t>((Wide(i) * length + n - 1) / n); };
    // Wide products only where 64 bits could overflow: they cost a slow division per span.
    const bool narrow = length <= UINT64_MAX / n;
    const auto cellOf = [&](uint64_t sector) {
        return narrow ? (sector - first) * n / length : static_cast<uint64_t>(Wide(sector - first) * n / length);
    };
    std::vector<PictureCell> cells(n);
    for (uint64_t i = 0; i < n; ++i) {
        cells[i].first = start(i);
        cells[i].count = start(i + 1) - cells[i].first;
    }
    for (const PictureSpan& span : spans_) {
        const uint64_t from = std::max(span.first, first);
        const uint64_t to = std::min(span.first + span.count, end);
        if (from >= to) continue;
        const uint64_t last = cellOf(to - 1);
        for (uint64_t i = cellOf(from); i <= last; ++i) {
            cells[i].kinds |= KindBit(span.kind);
            if (span.kind == PictureKind::Pool && cells[i].pool == PictureCell::kNoPool) cells[i].pool = span.owner;
        }
    }
    for (PictureCell& cell : cells) cell.dominant = DominantKind(cell.kinds);
    return cells;
}

std::array<uint64_t, kPictureKindCount> DiskPicture::totals() const {
    // Nothing's slot gathers every span first: what they leave of the disk is Nothing's total.
    // Sectors never read are still what they are, known or not.
    std::array<std::vector<std::pair<uint64_t, uint64_t>>, kPictureKindCount> byKind;
    for (const PictureSpan& span : spans_) {
        byKind[static_cast<size_t>(span.kind)].emplace_back(span.first, span.first + span.count);
        if (span.kind != PictureKind::NeverRead) byKind[0].emplace_back(span.first, span.first + span.count);
    }
    std::array<uint64_t, kPictureKindCount> totals{};
    for (size_t kind = 0; kind < kPictureKindCount; ++kind) totals[kind] = MergedLength(byKind[kind]);
    totals[0] = diskSectors_ - totals[0];
    return totals;
}

uint64_t DiskPicture::sectorsOf(PictureKindSet kinds) const {
    std::vector<std::pair<uint64_t, uint64_t>> ranges;
    for (const PictureSpan& span : spans_)
        if (kinds & KindBit(span.kind)) ranges.emplace_back(span.first, span.first + span.count);
    return MergedLength(ranges);
}

std::pair<uint64_t, uint64_t> DiskPicture::selectedPoolArea() const {
    uint64_t low = UINT64_MAX;
    uint64_t high = 0;
    for (const PictureSpan& span : spans_) {
        if (span.kind != PictureKind::Pool || span.owner != selectedPool) continue;
        low = std::min(low, span.first);
        high = std::max(high, span.first + span.count);
    }
    if (low >= high) return {0, diskSectors_};
    return {low, high};
}

}  // namespace lumbra
