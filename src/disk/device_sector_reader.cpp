#include "disk/device_sector_reader.h"

#include <algorithm>
#include <cstring>

#include "disk/sector.h"

namespace lumbra {

DeviceSectorReader::DeviceSectorReader(std::unique_ptr<SectorDevice> device, uint16_t badSectorRetries)
    : device_(std::move(device)), badSectorRetries_(badSectorRetries) {}

// A size of 0 is a device that could not tell its size (or an empty file, which reads nothing
// either way): it is read without bound.
std::optional<uint64_t> DeviceSectorReader::sectorCount() const {
    if (!device_ || device_->sizeBytes() == 0) return std::nullopt;
    return (device_->sizeBytes() + kSectorSize - 1) / kSectorSize;
}

// Only the part of the run that lies on the device is ever asked for: the rest is zeros at
// once, since no attempt could read it.
int DeviceSectorReader::ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) {
    if (!device_) return 0;
    if (count == 0) return 1;
    const size_t length = static_cast<size_t>(count) * kSectorSize;
    const uint64_t deviceBytes = sectorCount() ? device_->sizeBytes() : UINT64_MAX;
    const bool startsOnDevice = sector < deviceBytes / kSectorSize + (deviceBytes % kSectorSize != 0);
    const uint64_t start = startsOnDevice ? sector * kSectorSize : 0;
    const size_t present = startsOnDevice ? static_cast<size_t>(std::min<uint64_t>(length, deviceBytes - start)) : 0;
    std::memset(buffer + present, 0, length - present);
    const uint64_t presentSectors = (present + kSectorSize - 1) / kSectorSize;
    coverage_.addRead(sector, presentSectors);
    if (presentSectors < count) damage_.add(sector + presentSectors, count - presentSectors);
    if (present == 0) return 0;
    const int whole = present == length ? 1 : 0;
    if (device_->readAt(start, buffer, present)) return whole;

    const uint16_t attempts = badSectorRetries_.load() < 1 ? 1 : badSectorRetries_.load();
    bool lastRead = false;
    for (size_t i = 0; i < presentSectors; ++i) {
        const size_t offset = i * kSectorSize;
        uint8_t* target = buffer + offset;
        lastRead = readOneSector(start + offset, target, std::min(kSectorSize, present - offset), attempts);
        if (!lastRead) {
            std::memset(target, 0, kSectorSize);
            damage_.add(sector + i, 1);
        }
    }
    return lastRead ? whole : 0;
}

bool DeviceSectorReader::readOneSector(uint64_t offset, uint8_t* target, size_t length, uint16_t attempts) {
    for (uint16_t attempt = 0; attempt < attempts && !device_->gone(); ++attempt) {
        if (device_->readAt(offset, target, length)) return true;
    }
    return false;
}

}  // namespace lumbra
