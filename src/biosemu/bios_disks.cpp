#include "biosemu/bios_disks.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "disk/file_device.h"

namespace lumbra::biosemu {

namespace {

std::vector<BiosDisk> loadDisks() {
    std::vector<BiosDisk> disks;
    const char* list = std::getenv("LUMBRA_BIOS_DISKS");
    if (!list) return disks;
    std::string text = list;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(':', start);
        const std::string path = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!path.empty()) {
            auto device = FileDevice::Open(path);
            disks.push_back({path, device ? device->sizeBytes() / 512 : 0});
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return disks;
}

}  // namespace

const std::vector<BiosDisk>& Disks() {
    static const std::vector<BiosDisk> disks = loadDisks();
    return disks;
}

const BiosDisk* DiskOf(uint32_t biosDrive) {
    const uint32_t index = (biosDrive & 0xFF) - 0x80;
    if ((biosDrive & 0xFF) < 0x80 || index >= Disks().size()) return nullptr;
    return &Disks()[index];
}

int ReadLinear(const BiosDisk& disk, uint32_t linear, uint32_t count, uint8_t* buffer) {
    auto device = FileDevice::Open(disk.path);
    if (device && device->readAt(uint64_t{linear} * 512, buffer, static_cast<size_t>(count) * 512)) return 1;
    std::memset(buffer, 0, static_cast<size_t>(count) * 512);
    if (!device) return 0;
    int result = 1;
    for (uint32_t i = 0; i < count; ++i) {
        if (!device->readAt((uint64_t{linear} + i) * 512, buffer + static_cast<size_t>(i) * 512, 512)) result = 0;
    }
    return result;
}

}  // namespace lumbra::biosemu
