#pragma once
// A device with damage: some sectors never read, and every sector fails a given number of
// attempts before it reads (a weak sector). A read fails when any sector it touches fails.
// It counts the attempts made on each sector, so tests can check the retry rules.
#include <map>
#include <memory>
#include <set>

#include "disk/sector_device.h"

namespace lumbra::test {

class FaultyDevice : public SectorDevice {
public:
    FaultyDevice(std::unique_ptr<SectorDevice> inner, std::set<uint64_t> unreadableSectors,
                 int failuresBeforeSuccess = 0);

    bool readAt(uint64_t offset, uint8_t* buffer, size_t length) override;
    uint64_t sizeBytes() const override { return inner_->sizeBytes(); }

    // Attempts made on a sector by reads of exactly that one sector.
    int singleSectorAttempts(uint64_t sector) const;
    int readCalls() const { return readCalls_; }

private:
    std::unique_ptr<SectorDevice> inner_;
    std::set<uint64_t> unreadable_;
    int failuresBeforeSuccess_;
    std::map<uint64_t, int> attempts_;
    int readCalls_ = 0;
};

}  // namespace lumbra::test
