#pragma once
// A device that fails as a worn disk does, decided by a seed: some sectors never read, some
// reads of more than one sector stop part way (the first sectors arrive, the call fails, and a
// read of each sector on its own then succeeds), and some reads are slow. A failed read leaves
// garbage where nothing was read, as a real one may.
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>

#include "disk/sector_device.h"

namespace lumbra::test {

struct FaultRates {
    uint32_t unreadablePerMille = 10;  // sectors that fail every read
    uint32_t shortReadPercent = 20;    // reads of more than one sector that stop part way
    uint32_t slowReadPerMille = 2;     // reads that take `slowDelay` longer
    std::chrono::microseconds slowDelay{200};
};

class RandomFaultDevice : public SectorDevice {
public:
    RandomFaultDevice(std::unique_ptr<SectorDevice> inner, uint64_t seed, FaultRates rates = {});

    bool readAt(uint64_t offset, uint8_t* buffer, size_t length) override;
    uint64_t sizeBytes() const override { return inner_->sizeBytes(); }

    // The same answer for every read of this device and every device of the same seed.
    bool unreadable(uint64_t sector) const;

    uint64_t shortReads() const { return shortReads_; }
    uint64_t slowReads() const { return slowReads_; }

private:
    std::unique_ptr<SectorDevice> inner_;
    uint64_t seed_;
    FaultRates rates_;
    std::mt19937_64 random_;
    uint64_t shortReads_ = 0;
    uint64_t slowReads_ = 0;
};

}  // namespace lumbra::test
