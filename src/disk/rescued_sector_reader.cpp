#include "disk/rescued_sector_reader.h"

#include <algorithm>
#include <cstring>

#include "disk/sector.h"

namespace lumbra {

RescuedSectorReader::RescuedSectorReader(std::unique_ptr<SectorReader> inner, std::vector<SectorRange> unrescued)
    : inner_(std::move(inner)), unrescued_(std::move(unrescued)) {
    for (const SectorRange& range : unrescued_) damage_.add(range.first, range.count);
    damage_.setKnownInAdvance();
}

int RescuedSectorReader::ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) {
    coverage_.addRead(sector, count);
    const uint64_t end = sector + count;
    // The first range that ends after `sector`.
    auto hole = std::upper_bound(unrescued_.begin(), unrescued_.end(), sector,
                                 [](uint64_t first, const SectorRange& range) { return first < range.end(); });
    int result = 1;
    for (uint64_t at = sector; at < end;) {
        uint8_t* target = buffer + (at - sector) * kSectorSize;
        if (hole != unrescued_.end() && hole->first <= at) {
            const uint64_t holeEnd = std::min(hole->end(), end);
            std::memset(target, 0, (holeEnd - at) * kSectorSize);
            result = 0;
            at = holeEnd;
            ++hole;
            continue;
        }
        const uint64_t pieceEnd = hole != unrescued_.end() ? std::min(hole->first, end) : end;
        if (inner_->ReadSectors(at, static_cast<uint32_t>(pieceEnd - at), target) == 0) result = 0;
        at = pieceEnd;
    }
    return result;
}

}  // namespace lumbra
