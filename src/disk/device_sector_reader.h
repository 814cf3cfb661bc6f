#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "disk/sector_device.h"
#include "disk/sector_reader.h"

namespace lumbra {

// The device-file back-end of ReadSectors: one bulk read of the whole run; after a failed bulk
// read, sector by sector with up to badSectorRetries attempts each. A sector that fails every
// attempt is filled with zeros, so stale bytes of an earlier read never pass as its content.
// The reader knows the device's size: a run wholly past the end fails at once; a run that
// crosses the end reads what exists and gets zeros for the rest, with no retries for it.
// Every sector that fails every attempt, and every sector asked for past the end, enters the
// reader's damage map; a healthy read never touches it. Every sector asked for on the device
// enters its read coverage, read or not.
// A device that has gone (device.gone()) gets no more attempts: its sectors are zeros and damaged.
// A reader without a device (the open failed) answers 0 at once and leaves the buffer alone.
class DeviceSectorReader : public SectorReader {
public:
    explicit DeviceSectorReader(std::unique_ptr<SectorDevice> device, uint16_t badSectorRetries = 3);

    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override;
    std::optional<uint64_t> sectorCount() const override;
    DamageMap* damageMap() const override { return &damage_; }
    ReadCoverage* readCoverage() const override { return &coverage_; }

    // Attempts per sector after a failed bulk read; values below 1 count as 1.
    void setBadSectorRetries(uint16_t retries) { badSectorRetries_.store(retries); }
    uint16_t badSectorRetries() const { return badSectorRetries_.load(); }
    bool isOpen() const { return device_ != nullptr; }
    SectorDevice* device() const { return device_.get(); }

private:
    // One sector (or the part of the last one that exists) at a byte offset.
    bool readOneSector(uint64_t offset, uint8_t* target, size_t length, uint16_t attempts);

    std::unique_ptr<SectorDevice> device_;
    std::atomic<uint16_t> badSectorRetries_;
    // Guarded by its own lock; readers of a const reader may still look at it.
    mutable DamageMap damage_;
    mutable ReadCoverage coverage_;
};

}  // namespace lumbra
