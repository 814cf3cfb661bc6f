#include "disk/device_sector_reader.h"

#include <cstring>
#include <limits>

#include "disk/sector.h"

namespace lumbra {

DeviceSectorReader::DeviceSectorReader(std::unique_ptr<SectorDevice> device, uint16_t badSectorRetries)
    : device_(std::move(device)), badSectorRetries_(badSectorRetries) {}

int DeviceSectorReader::ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) {
    if (!device_) return 0;
    if (count == 0) return 1;
    if (sector > std::numeric_limits<uint64_t>::max() / kSectorSize - count) return 0;
    if (device_->readAt(sector * kSectorSize, buffer, static_cast<size_t>(count) * kSectorSize)) return 1;

    const uint16_t attempts = badSectorRetries_.load() < 1 ? 1 : badSectorRetries_.load();
    bool lastRead = false;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* target = buffer + static_cast<size_t>(i) * kSectorSize;
        lastRead = readOneSector(sector + i, target, attempts);
        if (!lastRead) std::memset(target, 0, kSectorSize);
    }
    return lastRead ? 1 : 0;
}

bool DeviceSectorReader::readOneSector(uint64_t sector, uint8_t* target, uint16_t attempts) {
    for (uint16_t attempt = 0; attempt < attempts; ++attempt) {
        if (device_->readAt(sector * kSectorSize, target, kSectorSize)) return true;
    }
    return false;
}

}  // namespace lumbra
