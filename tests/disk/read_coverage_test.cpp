// The record of the sectors read: exact while it is small, bounded when reads scatter.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "disk/device_sector_reader.h"
#include "disk/read_coverage.h"
#include "disk/sector.h"
#include "support/memory_device.h"

namespace lumbra {
namespace {

constexpr size_t kBound = ReadCoverage::kMaxReadRanges;

TEST(ReadCoverage, ReadsMergeWhereTheyTouchAndStayApartAcrossAGap) {
    ReadCoverage coverage;
    coverage.addRead(10, 5);
    coverage.addRead(15, 5);
    coverage.addRead(30, 1);
    coverage.addRead(12, 2);
    coverage.addRead(0, 0);
    EXPECT_EQ(coverage.reads(), (std::vector<SectorRange>{{10, 10}, {30, 1}}));
    EXPECT_EQ(coverage.readTotal(), 11u);
    coverage.addRead(UINT64_MAX - 1, 10);  // clamped, not wrapped
    EXPECT_EQ(coverage.reads().back(), (SectorRange{UINT64_MAX - 1, 1}));
}

TEST(ReadCoverage, EveryOtherSectorStaysExactUpToTheBoundAndIsMergedPastIt) {
    ReadCoverage coverage;
    for (uint64_t i = 0; i < kBound; ++i) coverage.addRead(2 * i, 1);
    EXPECT_EQ(coverage.rangeCount(), kBound);
    EXPECT_EQ(coverage.gapClosed(), 0u);
    EXPECT_EQ(coverage.readTotal(), kBound);

    coverage.addRead(2 * kBound, 1);
    EXPECT_LE(coverage.rangeCount(), kBound / 2);
    EXPECT_EQ(coverage.gapClosed(), 1u);
    // Only gaps were closed: every sector read is still read, and nothing past the reads.
    EXPECT_EQ(coverage.reads(), (std::vector<SectorRange>{{0, 2 * kBound + 1}}));
    EXPECT_EQ(coverage.readTotal(), 2 * kBound + 1);
}

TEST(ReadCoverage, AHostilePatternKeepsTheCountBoundedAndClosesOnlyTheSmallestGaps) {
    ReadCoverage coverage;
    // Groups of five reads one sector apart, the groups 100 sectors apart: more ranges than
    // the bound, but closing the gaps inside the groups is enough.
    constexpr uint64_t kGroups = kBound / 4;
    for (uint64_t group = 0; group < kGroups; ++group) {
        for (uint64_t i = 0; i < 5; ++i) coverage.addRead(group * 100 + 2 * i, 1);
        ASSERT_LE(coverage.rangeCount(), kBound);
    }
    EXPECT_EQ(coverage.gapClosed(), 1u);
    const auto reads = coverage.reads();
    EXPECT_LT(reads.size(), 5 * kGroups);
    EXPECT_EQ(reads[7], (SectorRange{700, 9}));
    for (const SectorRange& range : reads) ASSERT_EQ(range.first / 100, (range.end() - 1) / 100) << range.first;
    for (uint64_t group = 0; group < kGroups; ++group) {
        // Every sector read is still read: the group's first and last reads lie in one range.
        const auto place = std::upper_bound(reads.begin(), reads.end(), group * 100,
                                            [](uint64_t sector, const SectorRange& range) { return sector < range.first; });
        ASSERT_NE(place, reads.begin());
        ASSERT_EQ(std::prev(place)->first, group * 100);
    }
}

TEST(ReadCoverage, TheDeviceReaderRecordsTheSectorsAskedForOnTheDeviceReadOrNot) {
    std::vector<uint8_t> bytes(20 * kSectorSize, 0x11);
    DeviceSectorReader reader(std::make_unique<test::MemoryDevice>(bytes), 1);
    std::vector<uint8_t> buffer(8 * kSectorSize);
    reader.ReadSectors(2, 3, buffer.data());
    reader.ReadSectors(16, 8, buffer.data());  // 4 sectors past the end: not on the device
    ASSERT_NE(reader.readCoverage(), nullptr);
    EXPECT_EQ(reader.readCoverage()->reads(), (std::vector<SectorRange>{{2, 3}, {16, 4}}));
}

}  // namespace
}  // namespace lumbra
