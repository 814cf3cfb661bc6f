#include "disk/rescued_device.h"

#include <algorithm>

#include "disk/sector.h"

namespace lumbra {

RescuedDevice::RescuedDevice(std::unique_ptr<SectorDevice> inner, std::vector<SectorRange> unrescued)
    : inner_(std::move(inner)), unrescued_(std::move(unrescued)) {}

bool RescuedDevice::readAt(uint64_t offset, uint8_t* buffer, size_t length) {
    if (length == 0) return inner_->readAt(offset, buffer, length);
    const uint64_t first = offset / kSectorSize;
    const uint64_t end = (offset + length - 1) / kSectorSize + 1;
    // The first range that ends after `first`; it is hit when it starts before `end`.
    auto it = std::upper_bound(unrescued_.begin(), unrescued_.end(), first,
                               [](uint64_t sector, const SectorRange& range) { return sector < range.end(); });
    if (it != unrescued_.end() && it->first < end) return false;
    return inner_->readAt(offset, buffer, length);
}

}  // namespace lumbra
