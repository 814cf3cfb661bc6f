#pragma once
// An image read together with its rescue map: a read that touches a sector holding bytes the
// copier never rescued fails at once, so the sector reader zero-fills and records it as for a
// bad sector, without waiting on a disk.
#include <memory>
#include <vector>

#include "disk/damage_map.h"
#include "disk/sector_device.h"

namespace lumbra {

class RescuedDevice : public SectorDevice {
public:
    // unrescued: sorted, disjoint sector ranges.
    RescuedDevice(std::unique_ptr<SectorDevice> inner, std::vector<SectorRange> unrescued);

    bool readAt(uint64_t offset, uint8_t* buffer, size_t length) override;
    uint64_t sizeBytes() const override { return inner_->sizeBytes(); }
    bool gone() const override { return inner_->gone(); }

private:
    std::unique_ptr<SectorDevice> inner_;
    std::vector<SectorRange> unrescued_;
};

}  // namespace lumbra
