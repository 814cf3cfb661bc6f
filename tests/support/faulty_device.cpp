#include "support/faulty_device.h"

#include "disk/sector.h"

namespace lumbra::test {

FaultyDevice::FaultyDevice(std::unique_ptr<SectorDevice> inner, std::set<uint64_t> unreadableSectors,
                           int failuresBeforeSuccess)
    : inner_(std::move(inner)), unreadable_(std::move(unreadableSectors)),
      failuresBeforeSuccess_(failuresBeforeSuccess) {}

bool FaultyDevice::readAt(uint64_t offset, uint8_t* buffer, size_t length) {
    ++readCalls_;
    const uint64_t first = offset / kSectorSize;
    const uint64_t end = (offset + length + kSectorSize - 1) / kSectorSize;
    bool failed = false;
    for (uint64_t s = first; s < end; ++s) {
        if (unreadable_.count(s)) failed = true;
    }
    if (length == kSectorSize) {
        int& tries = attempts_[first];
        ++tries;
        if (tries <= failuresBeforeSuccess_) failed = true;
    } else if (failuresBeforeSuccess_ > 0) {
        failed = true;
    }
    if (failed) return false;
    return inner_->readAt(offset, buffer, length);
}

int FaultyDevice::singleSectorAttempts(uint64_t sector) const {
    auto it = attempts_.find(sector);
    return it == attempts_.end() ? 0 : it->second;
}

}  // namespace lumbra::test
