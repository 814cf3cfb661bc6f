#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "disk/damage_map.h"
#include "disk/device_sector_reader.h"
#include "disk/sector.h"
#include "support/faulty_device.h"
#include "support/memory_device.h"

namespace lumbra {
namespace {

TEST(DamageMap, RangesMergeWhenTheyTouchOrOverlapAndQueriesClipToTheAskedSpan) {
    DamageMap map;
    map.add(10, 2);
    map.add(20, 5);
    map.add(12, 1);   // touches 10..12
    map.add(23, 10);  // overlaps 20..25
    map.add(5, 0);    // nothing
    map.add(UINT64_MAX - 1, 5);  // clamps instead of wrapping
    EXPECT_EQ(map.ranges(), (std::vector<SectorRange>{{10, 3}, {20, 13}, {UINT64_MAX - 1, 1}}));
    EXPECT_EQ(map.within(11, 12), (std::vector<SectorRange>{{11, 2}, {20, 3}}));
    EXPECT_TRUE(map.touches(32, 1));
    EXPECT_TRUE(map.touches(0, 11));
    EXPECT_TRUE(map.touches(21, 1));  // inside a range that started earlier
    EXPECT_FALSE(map.touches(13, 7));
    EXPECT_FALSE(map.touches(33, 100));
    map.add(0, 100);
    EXPECT_EQ(map.ranges().front(), (SectorRange{0, 100}));
    EXPECT_EQ(map.ranges().size(), 2u);
}

TEST(DamageMap, ReaderAndInterfaceThreadUseItTogether) {
    DamageMap map;
    std::thread worker([&] {
        for (uint64_t s = 0; s < 2000; s += 2) map.add(s, 1);
    });
    uint64_t seen = 0;
    for (int i = 0; i < 200; ++i) seen = std::max(seen, map.sectorTotal());
    worker.join();
    EXPECT_EQ(map.sectorTotal(), 1000u);
    EXPECT_EQ(map.ranges().size(), 1000u);
    EXPECT_LE(seen, 1000u);
}

std::vector<uint8_t> Sectors(size_t count) {
    std::vector<uint8_t> bytes(count * kSectorSize);
    for (size_t s = 0; s < count; ++s) std::memset(bytes.data() + s * kSectorSize, static_cast<int>(s + 1), kSectorSize);
    return bytes;
}

TEST(DamageMap, ReaderRecordsSectorsThatFailEveryAttemptAndSectorsPastTheEnd) {
    auto device = std::make_unique<test::FaultyDevice>(std::make_unique<test::MemoryDevice>(Sectors(40)),
                                                       std::set<uint64_t>{12, 13, 30}, 2);
    DeviceSectorReader reader(std::move(device), 3);
    std::vector<uint8_t> buffer(16 * kSectorSize);
    reader.ReadSectors(8, 8, buffer.data());   // 12 and 13 fail, the weak ones read on the third try
    EXPECT_EQ(reader.damageMap()->ranges(), (std::vector<SectorRange>{{12, 2}}));
    reader.ReadSectors(36, 8, buffer.data());  // 40..43 lie past the end
    reader.ReadSectors(100, 2, buffer.data());
    EXPECT_EQ(reader.damageMap()->ranges(), (std::vector<SectorRange>{{12, 2}, {40, 4}, {100, 2}}));
    EXPECT_FALSE(reader.damageMap()->knownInAdvance());
}

TEST(DamageMap, HealthyReadsLeaveItEmpty) {
    DeviceSectorReader reader(std::make_unique<test::MemoryDevice>(Sectors(40)), 3);
    std::vector<uint8_t> buffer(40 * kSectorSize);
    reader.ReadSectors(0, 40, buffer.data());
    for (uint64_t s = 0; s < 40; ++s) reader.ReadSectors(s, 1, buffer.data());
    EXPECT_TRUE(reader.damageMap()->empty());
}

// Reads of on-disk structures count the damaged sectors among them once each, up to the disk's
// end; the damage ranges stay as they were.
TEST(DamageMap, MetadataReadsCountTheirDamagedSectorsOnceUpToTheDiskEnd) {
    DamageMap map;
    map.add(10, 4);   // 10..13
    map.add(100, 8);  // 100..107
    map.noteMetadataRead(0, 10, 200);
    EXPECT_EQ(map.metadataDamage().sectors, 0u);
    EXPECT_EQ(map.metadataDamage().firstSector, 0u);
    map.noteMetadataRead(12, 8, 200);  // 12 and 13
    map.noteMetadataRead(13, 1, 200);  // again
    EXPECT_EQ(map.metadataDamage().sectors, 2u);
    EXPECT_EQ(map.metadataDamage().firstSector, 12u);
    map.noteMetadataRead(100, 8, 104);  // the disk ends at 104: 100..103 only
    EXPECT_EQ(map.metadataDamage().sectors, 6u);
    map.noteMetadataRead(104, 8, 104);  // past the end: a link to nothing, no damage
    EXPECT_EQ(map.metadataDamage().sectors, 6u);
    map.noteMetadataRead(96, 12, 105);  // reaches 100..103 again and adds 104
    EXPECT_EQ(map.metadataDamage().sectors, 7u);
    map.noteMetadataRead(5, 6, 200);  // 10, below the first so far
    EXPECT_EQ(map.metadataDamage().firstSector, 10u);
    EXPECT_EQ(map.metadataDamage().sectors, 8u);
    EXPECT_EQ(map.ranges(), (std::vector<SectorRange>{{10, 4}, {100, 8}}));
}

}  // namespace
}  // namespace lumbra
