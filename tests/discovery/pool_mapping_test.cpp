// Pool-relative sectors to disk sectors, on pools found in built images.
#include <gtest/gtest.h>

#include <limits>

#include "discovery/pool_listing.h"
#include "discovery/pool_mapping.h"
#include "discovery_test_helpers.h"

namespace lumbra::test {
namespace {

SelectedPool FirstPool(const NssImage& image) {
    PoolTable pools;
    ListPoolsFromPartitionTable(*ReaderOf(image), pools);
    auto selected = SelectPool(pools, 0);
    EXPECT_TRUE(selected.has_value());
    return selected.value_or(SelectedPool{});
}

TEST(PoolMapping, LoneSegmentAddsItsDataStart) {
    const SelectedPool pool = FirstPool(NssImageBuilder().pool("DATA", {.headerSector = 68}).build());
    ASSERT_EQ(pool.segmentStart, std::vector<uint32_t>{100});
    EXPECT_EQ(PoolToDiskSector(pool, 8), 108u);
    EXPECT_EQ(PoolBlockToDiskSector(pool, 1), 108u);
    EXPECT_EQ(PoolToDiskSector(pool, 0), 100u);
}

// A damaged record may name any block: a lone segment maps only below its pool size, so such a
// block neither reaches past the pool nor wraps the sum around to the partition table.
TEST(PoolMapping, LoneSegmentMapsOnlyInsideItsPool) {
    const NssImage image = NssImageBuilder().pool("DATA", {.headerSector = 2048}).build();
    const SelectedPool pool = FirstPool(image);
    const uint32_t size = image.pool("DATA").poolSize;
    ASSERT_EQ(pool.poolSize, size);
    ASSERT_EQ(pool.segmentStart, std::vector<uint32_t>{2080});
    EXPECT_EQ(PoolToDiskSector(pool, size - 1), 2080u + size - 1);
    EXPECT_EQ(PoolToDiskSector(pool, size), std::nullopt);
    EXPECT_EQ(PoolBlockToDiskSector(pool, (uint64_t{1} << 61) - 2080 / 8), std::nullopt);
    EXPECT_EQ(PoolBlockToDiskSector(pool, 1u << 30), std::nullopt);
}

TEST(PoolMapping, ThreeSegmentsMapEndToEndAndNothingPastTheLast) {
    PoolPlan plan{.name = "SEG3"};
    const uint32_t extents[] = {40000, 12345, 70000};
    for (uint32_t i = 0; i < 3; ++i)
        plan.segments.push_back({.headerSector = 2048 + i * 100000, .extent = extents[i]});
    const NssImage image = NssImageBuilder().pool(plan).build();
    const BuiltPool& built = image.pool("SEG3");
    const SelectedPool pool = FirstPool(image);
    ASSERT_EQ(pool.segmentCount, 3u);

    uint64_t first = 0;
    for (uint32_t i = 0; i < 3; ++i) {
        const uint64_t last = first + extents[i] - 1;
        EXPECT_EQ(PoolToDiskSector(pool, first), built.segments[i].dataStart) << i;
        EXPECT_EQ(PoolToDiskSector(pool, last), built.segments[i].dataStart + extents[i] - 1) << i;
        EXPECT_EQ(PoolToDiskSector(pool, last), built.toDiskSector(last)) << i;
        first = last + 1;
    }
    EXPECT_EQ(PoolToDiskSector(pool, first), std::nullopt);
    EXPECT_EQ(built.toDiskSector(first), std::nullopt);
}

TEST(PoolMapping, PoolWithoutSegmentsMapsNothing) {
    EXPECT_EQ(PoolToDiskSector(SelectedPool{}, 0), std::nullopt);
    // A count that claims more segments than are held maps only through those held.
    SelectedPool partial{.segmentCount = 3, .segmentStart = {100, 900}, .segmentExtent = {10, 10}};
    EXPECT_EQ(PoolToDiskSector(partial, 15), 905u);
    EXPECT_EQ(PoolToDiskSector(partial, 20), std::nullopt);
}

// Segments of 1003, 3 and 100 sectors at 5000, 9000 and 12000.
SelectedPool SplitPool() {
    return SelectedPool{.name = "P", .poolSize = 1106, .segmentCount = 3, .segmentStart = {5000, 9000, 12000},
                        .segmentExtent = {1003, 3, 100}};
}

using RunList = std::vector<std::pair<uint64_t, uint64_t>>;  // (disk sector, sectors)

RunList Runs(const BlockRuns& block) {
    RunList runs;
    for (size_t i = 0; i < block.count; ++i) runs.emplace_back(block.runs[i].diskSector, block.runs[i].sectors);
    return runs;
}

TEST(PoolMapping, ABlockCrossingSegmentEndsGoesOnAtEachNextStart) {
    const SelectedPool pool = SplitPool();
    EXPECT_EQ(Runs(BlockRunsAt(pool, 5000 + 992)), (RunList{{5992, 8}}));  // ends at 5999, inside
    EXPECT_EQ(Runs(BlockRunsAt(pool, 5000 + 995)), (RunList{{5995, 8}}));  // ends at 6002, the last sector
    EXPECT_EQ(Runs(BlockRunsAt(pool, 5000 + 996)), (RunList{{5996, 7}, {9000, 1}}));
    EXPECT_EQ(Runs(BlockRunsAt(pool, 5000 + 1000)), (RunList{{6000, 3}, {9000, 3}, {12000, 2}}));
    EXPECT_EQ(Runs(BlockRunsAt(pool, 12000 + 96)), (RunList{{12096, 4}}));  // past the last segment: left out
    EXPECT_EQ(Runs(BlockRunsAt(pool, 7000)), (RunList{{7000, 8}}));        // in no segment: as given
    const SelectedPool lone{.name = "L", .poolSize = 20, .segmentCount = 1, .segmentStart = {100}, .segmentExtent = {20}};
    EXPECT_EQ(Runs(BlockRunsAt(lone, 116)), (RunList{{116, 8}}));
}

TEST(PoolMapping, BlockNumberTooLargeForASectorIsNotMapped) {
    const SelectedPool pool{.poolSize = 0xFFFFFFFF, .segmentCount = 1, .segmentStart = {100}, .segmentExtent = {0}};
    EXPECT_EQ(PoolBlockToDiskSector(pool, std::numeric_limits<uint64_t>::max() / 4), std::nullopt);
}

TEST(PoolMapping, SelectPoolCopiesTheRowOrRefusesAMissingOne) {
    PoolTable pools;
    pools.add(PoolEntry{.treeItem = 7, .name = "DATA", .poolSize = 5, .segmentCount = 1,
                        .segmentStart = {100}, .segmentExtent = {105}});
    const auto selected = SelectPool(pools, 0);
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->name, "DATA");
    EXPECT_EQ(selected->segmentStart, std::vector<uint32_t>{100});
    EXPECT_FALSE(SelectPool(pools, 1));
}

}  // namespace
}  // namespace lumbra::test
