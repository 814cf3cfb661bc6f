// Pools of several segments: gathered from the chain start, recorded once, and refused when
// a segment is missing however the descriptors are damaged.
#include <gtest/gtest.h>

#include <array>

#include "discovery/partition_scan.h"
#include "discovery/pool_listing.h"
#include "discovery_test_helpers.h"

namespace lumbra::test {
namespace {

// Three segments of 65536 sectors; chainOrder[i] is the chain position of segment i's header.
PoolPlan ThreeSegments(std::string name, uint32_t firstHeader, std::array<int, 3> chainOrder) {
    PoolPlan pool{.name = std::move(name)};
    for (uint32_t i = 0; i < 3; ++i) {
        SegmentPlan segment{.headerSector = firstHeader + i * 100000, .extent = 65536};
        segment.chainOrder = chainOrder[i];
        pool.segments.push_back(segment);
    }
    return pool;
}

PoolTable ListPools(const NssImage& image) {
    PoolTable pools;
    ListPoolsFromPartitionTable(*ReaderOf(image), pools);
    return pools;
}

TEST(SegmentedPool, SegmentZeroHeaderLastIsFoundWithAllSegments) {
    const NssImage image = NssImageBuilder().pool(ThreeSegments("SEG3", 2048, {2, 0, 1})).build();
    const BuiltPool& built = image.pool("SEG3");
    ASSERT_EQ(built.segments[0].chainPosition, 2u);

    const PoolTable pools = ListPools(image);
    ASSERT_EQ(pools.count(), 1u);  // every header has an entry: the pool is met three times
    EXPECT_EQ(pools[0].name, "SEG3");
    EXPECT_EQ(pools[0].segmentCount, 3u);
    EXPECT_EQ(pools[0].poolSize, built.poolSize);
    EXPECT_EQ(pools[0].segmentStart, DataStarts(built));
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(pools[0].segmentExtent[i], built.segments[i].descriptorExtent) << i;
}

TEST(SegmentedPool, SegmentsBeforeTheChainStartAreNotSeen) {
    // Entered at segment 2's header the chain holds segments 2 and 0 only.
    const NssImage image = NssImageBuilder()
                               .pool(ThreeSegments("SEG3", 2048, {2, 0, 1}))
                               .partitionTableEntry(2048 + 2 * 100000)
                               .build();
    EXPECT_TRUE(ListPools(image).empty());
}

TEST(SegmentedPool, TwoPoolsInOneChainKeepTheirOwnSegments) {
    const NssImage image = NssImageBuilder()
                               .pool(ThreeSegments("AAA", 2048, {0, 2, 4}))
                               .pool(ThreeSegments("BBB", 2048 + 50000, {1, 3, 5}))
                               .partitionTableEntry(2048)
                               .build();
    const PoolTable pools = ListPools(image);
    ASSERT_EQ(PoolNames(pools), (std::vector<std::string>{"AAA", "BBB"}));
    EXPECT_EQ(pools[0].segmentStart, DataStarts(image.pool("AAA")));
    EXPECT_EQ(pools[1].segmentStart, DataStarts(image.pool("BBB")));
}

// Every segment met tells the segment count and the pool size again; the last one met wins.
TEST(SegmentedPool, CountAndSizeAreThoseOfTheLastSegmentMet) {
    PoolPlan plan = ThreeSegments("SEG3", 2048, {0, 1, 2});
    plan.segments[1].header.poolSizeField = 111111;
    plan.segments[2].header.poolSizeField = 222222;
    plan.segments[2].header.descriptorSegmentCount = 4;
    const NssImage image = NssImageBuilder().pool(plan).build();
    const PoolTable pools = ListPools(image);
    ASSERT_EQ(pools.count(), 1u);
    EXPECT_EQ(pools[0].poolSize, 222222u);
    EXPECT_EQ(pools[0].segmentCount, 4u);
    std::vector<uint32_t> starts = DataStarts(image.pool("SEG3"));
    starts.push_back(0);  // segment 3 was never met
    EXPECT_EQ(pools[0].segmentStart, starts);
    EXPECT_EQ(pools[0].segmentExtent.size(), 4u);
}

// A segment number at or above the pool's total still counts, once, when it is below 50.
TEST(SegmentedPool, SegmentNumbersUpTo49CountOnceEach) {
    PoolPlan counted = ThreeSegments("SEG3", 2048, {0, 1, 2});
    counted.segments[2].header.descriptorSegmentNumber = 49;
    const PoolTable pools = ListPools(NssImageBuilder().pool(counted).build());
    ASSERT_EQ(pools.count(), 1u);
    EXPECT_EQ(pools[0].segmentCount, 3u);
    EXPECT_EQ(pools[0].segmentStart.size(), 3u);
    EXPECT_EQ(pools[0].segmentStart[2], 0u);  // the place of segment 2 stayed empty

    PoolPlan twice = ThreeSegments("SEG3", 2048, {0, 1, 2});
    twice.segments[1].header.descriptorSegmentNumber = 7;
    twice.segments[2].header.descriptorSegmentNumber = 7;
    EXPECT_TRUE(ListPools(NssImageBuilder().pool(twice).build()).empty());
}

// The most segments a pool may have: 49 are gathered, one more and the pool is not recorded.
TEST(SegmentedPool, FortyNineSegmentsAreTheMost) {
    for (const uint32_t count : {49u, 50u}) {
        PoolPlan pool{.name = "WIDE"};
        for (uint32_t i = 0; i < count; ++i) pool.segments.push_back({.headerSector = 2048 + i * 4096, .extent = 2048});
        const PoolTable pools = ListPools(NssImageBuilder().pool(pool).build());
        const uint32_t gathered = pools.empty() ? 0 : pools[0].segmentCount;
        EXPECT_EQ(gathered, count == 49 ? 49u : 0u) << count;
    }
}

// Segment 0's descriptor announces two segments, and segments 1 and 2 come first in the chain:
// the total is met before segment 0. Such a walk records nothing (before, it recorded the pool
// with no segment 0, once per chain start, since only segment 0 tells a pool met twice); the
// walk from segment 2's entry meets segment 0 and records the pool once.
TEST(SegmentedPool, TotalMetBeforeSegmentZeroRecordsNothing) {
    PoolPlan plan = ThreeSegments("SEG3", 2048, {2, 0, 1});
    plan.segments[0].header.descriptorSegmentCount = 2;
    const NssImage image = NssImageBuilder().pool(plan).build();
    const PoolTable pools = ListPools(image);
    ASSERT_EQ(pools.count(), 1u);
    EXPECT_EQ(pools[0].segmentStart.at(0), image.pool("SEG3").segments[0].dataStart);
}

// A lone pool and then a pool of two segments in one chain, whose last segment announces 0
// segments: the pool keeps a count of 0 and no segment places. Each header has its entry, so
// the pool is met from the lone pool's entry and again from its segment 0's; a scan meets it
// from both headers too. It is recorded once, whatever it keeps.
NssImage ZeroCountAfterLonePool() {
    PoolPlan segmented{.name = "SEG", .segments = {{.headerSector = 200000, .extent = 65536}, {.extent = 65536}}};
    segmented.segments[1].header.descriptorSegmentCount = 0;
    return NssImageBuilder().pool("LONE", {.headerSector = 2048}).pool(segmented).build();
}

TEST(SegmentedPool, PoolMetAgainIsRecordedOnceWhateverItsSegmentCount) {
    const NssImage image = ZeroCountAfterLonePool();
    const PoolTable listed = ListPools(image);
    ASSERT_EQ(PoolNames(listed), (std::vector<std::string>{"LONE", "SEG"}));
    EXPECT_EQ(listed[1].segmentCount, 0u);
    EXPECT_TRUE(listed[1].segmentStart.empty());

    PoolTable scanned;
    std::atomic<int32_t> stop{0};
    ScanEvents events;
    const auto reader = ReaderOf(image);
    const ScanRange wholeDisk{0, static_cast<uint32_t>(image.sectorCount())};
    EXPECT_EQ(ScanForPartitions(*reader, wholeDisk, 60, stop, scanned, events), ScanEnd::RangeDone);
    EXPECT_EQ(PoolNames(scanned), (std::vector<std::string>{"LONE", "SEG"}));
}

// Pool names are compared between segments as reduced: low bytes up to the first 0 low byte.
TEST(SegmentedPool, NamesAreComparedUpToAUnitWhoseLowByteIsZero) {
    PoolPlan plan = ThreeSegments("AB\u0100CD", 2048, {0, 1, 2});
    plan.segments[1].header.poolNameField = "AB\u0100XY";
    const PoolTable pools = ListPools(NssImageBuilder().pool(plan).build());
    EXPECT_EQ(PoolNames(pools), std::vector<std::string>{"AB"});
}

struct DamageCase {
    const char* what;
    uint32_t segment;
    std::optional<uint32_t> segmentCountField;
    std::optional<uint32_t> segmentNumberField;
};

class DamagedDescriptor : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedDescriptor, PoolIsNotRecorded) {
    const DamageCase damage = GetParam();
    PoolPlan plan = ThreeSegments("SEG3", 2048, {0, 1, 2});
    plan.segments[damage.segment].header.descriptorSegmentCount = damage.segmentCountField;
    plan.segments[damage.segment].header.descriptorSegmentNumber = damage.segmentNumberField;
    EXPECT_TRUE(ListPools(NssImageBuilder().pool(plan).build()).empty()) << damage.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedDescriptor,
    ::testing::Values(
        DamageCase{"segment 0 announces 50 segments", 0, 50, std::nullopt},
        DamageCase{"segment number 50", 1, std::nullopt, 50},
        DamageCase{"segment number far out", 1, std::nullopt, 0xFFFFFFFF},
        DamageCase{"segment 1 seen twice, segment 2 missing", 2, std::nullopt, 1}));

}  // namespace
}  // namespace lumbra::test
