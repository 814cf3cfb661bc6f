// A disk that goes away while it is read (its FUSE server ends, as a disk pulled out): the reads
// after that fail at once, with zeros and damage for every sector asked for, and no stale bytes.
#include <gtest/gtest.h>

#include <vector>

#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/sector.h"
#include "support/faulty_disk.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

TEST(VanishedDevice, ReadsAfterTheDiskWentAreZerosAndDamagedWithoutRetries) {
    if (const std::string why = test::FaultyDiskUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const test::ScratchFolder scratch("vanished_device");
    const std::string image = scratch.numberedImage("disk.img", 64);
    test::FaultyDisk disk(image, {}, scratch.file("served"), test::FaultyDisk::Attach::FileOnly);
    ASSERT_TRUE(disk.ready()) << disk.why();
    auto opened = FileDevice::Open(disk.file());
    ASSERT_TRUE(opened);
    const FileDevice& device = *opened;
    DeviceSectorReader reader(std::move(opened), 1000);
    std::vector<uint8_t> buffer(16 * kSectorSize);
    ASSERT_EQ(reader.ReadSectors(0, 16, buffer.data()), 1);
    EXPECT_EQ(buffer[15 * kSectorSize], static_cast<uint8_t>(15 * 7 + 1));
    EXPECT_FALSE(device.gone());

    disk.vanish();
    // A thousand attempts on each of sixteen sectors would be asked of a disk that only failed.
    EXPECT_EQ(reader.ReadSectors(16, 16, buffer.data()), 0);
    EXPECT_TRUE(device.gone());
    EXPECT_EQ(buffer, std::vector<uint8_t>(16 * kSectorSize, 0));
    EXPECT_EQ(reader.damageMap()->ranges(), (std::vector<SectorRange>{{16, 16}}));
    EXPECT_EQ(reader.ReadSectors(0, 1, buffer.data()), 0);
    EXPECT_EQ(reader.damageMap()->ranges(), (std::vector<SectorRange>{{0, 1}, {16, 16}}));
}

}  // namespace
}  // namespace lumbra
