#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "disk/device_sector_reader.h"
#include "disk/sector.h"
#include "support/faulty_device.h"
#include "support/memory_device.h"

namespace lumbra {
namespace {

using test::FaultyDevice;
using test::MemoryDevice;

// 64 sectors, each filled with its own number + 1.
std::vector<uint8_t> numberedSectors() {
    std::vector<uint8_t> bytes(64 * kSectorSize);
    for (size_t s = 0; s < 64; ++s) std::memset(bytes.data() + s * kSectorSize, static_cast<int>(s + 1), kSectorSize);
    return bytes;
}

struct Fixture {
    FaultyDevice* device;
    DeviceSectorReader reader;
};

Fixture faulty(std::set<uint64_t> unreadable, uint16_t retries = 3, int failuresBeforeSuccess = 0) {
    auto device = std::make_unique<FaultyDevice>(std::make_unique<MemoryDevice>(numberedSectors()),
                                                 std::move(unreadable), failuresBeforeSuccess);
    FaultyDevice* raw = device.get();
    return {raw, DeviceSectorReader(std::move(device), retries)};
}

TEST(ReadSectors, HealthyRunIsOneBulkRead) {
    auto f = faulty({});
    std::vector<uint8_t> buffer(8 * kSectorSize);
    EXPECT_EQ(f.reader.ReadSectors(10, 8, buffer.data()), 1);
    EXPECT_EQ(f.device->readCalls(), 1);
    EXPECT_EQ(buffer[0], 11);
    EXPECT_EQ(buffer[7 * kSectorSize], 18);
}

TEST(ReadSectors, UnreadableFifthSectorIsZeroedAndTheRunStillSucceeds) {
    auto f = faulty({14});
    std::vector<uint8_t> buffer(8 * kSectorSize, 0xEE);
    EXPECT_EQ(f.reader.ReadSectors(10, 8, buffer.data()), 1);
    for (size_t i = 0; i < 8; ++i) {
        const uint8_t expected = i == 4 ? 0 : static_cast<uint8_t>(11 + i);
        EXPECT_EQ(buffer[i * kSectorSize], expected) << "sector " << i;
        EXPECT_EQ(buffer[i * kSectorSize + 511], expected) << "sector " << i;
    }
}

TEST(ReadSectors, UnreadableLastSectorMakesTheRunFail) {
    auto f = faulty({17});
    std::vector<uint8_t> buffer(8 * kSectorSize, 0xEE);
    EXPECT_EQ(f.reader.ReadSectors(10, 8, buffer.data()), 0);
    EXPECT_EQ(buffer[6 * kSectorSize], 17);
    EXPECT_EQ(buffer[7 * kSectorSize], 0);
}

TEST(ReadSectors, EachFailingSectorGetsExactlyTheRetries) {
    for (uint16_t retries : {1, 3, 10}) {
        auto f = faulty({12}, retries);
        std::vector<uint8_t> buffer(4 * kSectorSize);
        f.reader.ReadSectors(10, 4, buffer.data());
        EXPECT_EQ(f.device->singleSectorAttempts(12), retries);
        EXPECT_EQ(f.device->singleSectorAttempts(11), 1);
    }
}

TEST(ReadSectors, WeakSectorIsReadOnALaterAttempt) {
    auto f = faulty({}, 3, 2);
    std::vector<uint8_t> buffer(2 * kSectorSize);
    EXPECT_EQ(f.reader.ReadSectors(20, 2, buffer.data()), 1);
    EXPECT_EQ(buffer[0], 21);
    EXPECT_EQ(buffer[kSectorSize], 22);
    EXPECT_EQ(f.device->singleSectorAttempts(20), 3);
}

TEST(ReadSectors, PastTheEndFailsAndLeavesNoStaleBytes) {
    auto f = faulty({});
    std::vector<uint8_t> buffer(2 * kSectorSize, 0xEE);
    EXPECT_EQ(f.reader.ReadSectors(63, 2, buffer.data()), 0);
    EXPECT_EQ(buffer[0], 64);
    EXPECT_EQ(buffer[kSectorSize], 0);
    EXPECT_EQ(f.reader.ReadSectors(1000, 1, buffer.data()), 0);
    EXPECT_EQ(buffer[0], 0);
}

// The reader knows where the device ends: nothing past it is asked of the device, so a run past
// the end costs no failed bulk read and no retries.
TEST(ReadSectors, RunsPastTheEndOfTheDeviceAreNotAskedFor) {
    auto past = faulty({}, 10);
    std::vector<uint8_t> buffer(8 * kSectorSize, 0xEE);
    EXPECT_EQ(past.reader.ReadSectors(1000, 8, buffer.data()), 0);
    EXPECT_EQ(past.device->readCalls(), 0);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), static_cast<long>(buffer.size()));
    EXPECT_EQ(past.reader.sectorCount(), 64u);

    auto straddling = faulty({}, 10);
    EXPECT_EQ(straddling.reader.ReadSectors(60, 8, buffer.data()), 0);
    EXPECT_EQ(straddling.device->readCalls(), 1);
    EXPECT_EQ(buffer[3 * kSectorSize], 64);
    EXPECT_EQ(buffer[4 * kSectorSize], 0);

    // A bad sector in the part that exists: only that part is read sector by sector.
    auto damaged = faulty({61}, 10);
    damaged.reader.ReadSectors(60, 8, buffer.data());
    EXPECT_EQ(damaged.device->singleSectorAttempts(61), 10);
    EXPECT_EQ(damaged.device->singleSectorAttempts(64), 0);
    EXPECT_EQ(damaged.device->readCalls(), 1 + 1 + 10 + 1 + 1);
    EXPECT_EQ(buffer[3 * kSectorSize], 64);

    // A device whose last sector is only partly there reads that part.
    std::vector<uint8_t> bytes = numberedSectors();
    bytes.resize(bytes.size() + 100, 0x77);
    DeviceSectorReader ragged(std::make_unique<MemoryDevice>(bytes));
    EXPECT_EQ(ragged.sectorCount(), 65u);
    EXPECT_EQ(ragged.ReadSectors(64, 1, buffer.data()), 0);  // not all of it was there
    EXPECT_EQ(buffer[99], 0x77);
    EXPECT_EQ(buffer[100], 0);
}

TEST(ReadSectors, UnopenedDriveAnswersZeroAndLeavesTheBufferAlone) {
    DeviceSectorReader reader(nullptr);
    std::vector<uint8_t> buffer(kSectorSize, 0xAB);
    EXPECT_EQ(reader.ReadSectors(0, 1, buffer.data()), 0);
    EXPECT_EQ(buffer[0], 0xAB);
    EXPECT_EQ(buffer[511], 0xAB);
}

}  // namespace
}  // namespace lumbra
