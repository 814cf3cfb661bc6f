#pragma once
// A drive read through a back-end that keeps no damage record (the BIOS libraries), together
// with its image's rescue map: sectors never rescued are not asked of the back-end; they read
// as zeros and start in this reader's damage map, as they do for the device reader of an image
// read with its map.
#include <memory>
#include <vector>

#include "disk/damage_map.h"
#include "disk/sector_reader.h"

namespace lumbra {

class RescuedSectorReader : public SectorReader {
public:
    // unrescued: sorted, disjoint sector ranges.
    RescuedSectorReader(std::unique_ptr<SectorReader> inner, std::vector<SectorRange> unrescued);

    // 0 when any sector of the run was never rescued or the back-end failed a piece of it.
    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override;
    std::optional<uint64_t> sectorCount() const override { return inner_->sectorCount(); }
    DamageMap* damageMap() const override { return &damage_; }
    ReadCoverage* readCoverage() const override { return &coverage_; }

private:
    std::unique_ptr<SectorReader> inner_;
    std::vector<SectorRange> unrescued_;
    mutable DamageMap damage_;
    mutable ReadCoverage coverage_;
};

}  // namespace lumbra
