#pragma once
// Passes reads on to another reader and counts them, so that long work that reads through
// layers of its own (a recovery run) can tell how far it is and where the disk is being read.
// The counters may be read from another thread while the reads go on.
#include <atomic>

#include "disk/sector_reader.h"

namespace lumbra {

class CountingSectorReader : public SectorReader {
public:
    explicit CountingSectorReader(SectorReader& inner) : inner_(inner) {}

    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
        lastSector_.store(sector);
        const int result = inner_.ReadSectors(sector, count, buffer);
        sectorsRead_.fetch_add(count);
        return result;
    }
    std::optional<uint64_t> sectorCount() const override { return inner_.sectorCount(); }
    DamageMap* damageMap() const override { return inner_.damageMap(); }
    ReadCoverage* readCoverage() const override { return inner_.readCoverage(); }

    uint64_t sectorsRead() const { return sectorsRead_.load(); }
    // The first sector of the read begun last.
    uint64_t lastSector() const { return lastSector_.load(); }

private:
    SectorReader& inner_;
    std::atomic<uint64_t> sectorsRead_{0};
    std::atomic<uint64_t> lastSector_{0};
};

}  // namespace lumbra
