#include "support/random_fault_device.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "disk/sector.h"

namespace lumbra::test {

namespace {

constexpr uint8_t kGarbage = 0xA5;

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

RandomFaultDevice::RandomFaultDevice(std::unique_ptr<SectorDevice> inner, uint64_t seed, FaultRates rates)
    : inner_(std::move(inner)), seed_(seed), rates_(rates), random_(Mix(seed)) {}

bool RandomFaultDevice::unreadable(uint64_t sector) const {
    return Mix(Mix(seed_) ^ sector) % 1000 < rates_.unreadablePerMille;
}

bool RandomFaultDevice::readAt(uint64_t offset, uint8_t* buffer, size_t length) {
    if (random_() % 1000 < rates_.slowReadPerMille) {
        ++slowReads_;
        std::this_thread::sleep_for(rates_.slowDelay);
    }
    const uint64_t first = offset / kSectorSize;
    const uint64_t end = (offset + length + kSectorSize - 1) / kSectorSize;
    // Bytes read before the read stops: up to the first unreadable sector, or a random whole
    // number of sectors for a read that stops part way.
    size_t readable = length;
    for (uint64_t s = first; s < end; ++s) {
        if (unreadable(s)) {
            readable = static_cast<size_t>(std::max<uint64_t>(s * kSectorSize, offset) - offset);
            break;
        }
    }
    if (readable == length && length > kSectorSize && random_() % 100 < rates_.shortReadPercent) {
        ++shortReads_;
        readable = static_cast<size_t>(random_() % (length / kSectorSize)) * kSectorSize;
    }
    if (readable > 0 && !inner_->readAt(offset, buffer, readable)) readable = 0;
    std::memset(buffer + readable, kGarbage, length - readable);
    return readable == length;
}

}  // namespace lumbra::test
