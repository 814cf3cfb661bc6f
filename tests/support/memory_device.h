#pragma once
// A source held in memory: a byte vector that reads like a disk.
#include <cstring>
#include <vector>

#include "disk/sector_device.h"

namespace lumbra::test {

class MemoryDevice : public SectorDevice {
public:
    explicit MemoryDevice(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool readAt(uint64_t offset, uint8_t* buffer, size_t length) override {
        if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
        std::memcpy(buffer, bytes_.data() + offset, length);
        return true;
    }
    uint64_t sizeBytes() const override { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace lumbra::test
