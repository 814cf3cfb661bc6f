// A scan cut off and taken up again finds what a scan without a stop finds, from the state it
// left at Stop or at its last checkpoint; the state goes once the range is done.
#include <gtest/gtest.h>

#include "discovery/resumable_scan.h"
#include "discovery_test_helpers.h"
#include "support/scratch_folder.h"

namespace lumbra::test {
namespace {

constexpr ScanRange kRange{0, 50000};
constexpr uint32_t kPerRead = 60;
const std::string kDrive = "image path=/disks/test.img bytes=256000000 mtime=1";

SegmentPlan InChain(uint32_t headerSector, int chain, uint32_t extent = 0) {
    SegmentPlan segment{.headerSector = headerSector};
    if (extent != 0) segment.extent = extent;
    segment.header.chain = chain;
    return segment;
}

// Three chains of their own: a lone pool, a two-segment pool with headers 20000 sectors apart
// (chainOrder: the chain position of each segment's header) and a pool at the end.
NssImage ImageWithSplitPool(std::array<int, 2> chainOrder) {
    PoolPlan split{.name = "SPLIT"};
    for (uint32_t i = 0; i < 2; ++i) {
        SegmentPlan segment = InChain(10000 + i * 20000, 1, 8192);
        segment.chainOrder = chainOrder[i];
        split.segments.push_back(segment);
    }
    return NssImageBuilder().noMbr().pool("FIRST", InChain(2048, 0)).pool(split).pool("LAST", InChain(42000, 2)).build();
}

// Pool names in the order reported; asks for a stop when the run at stopAt starts.
struct StoppingEvents : ScanEvents {
    std::atomic<int32_t>* stop = nullptr;
    uint64_t stopAt = UINT64_MAX;
    std::vector<std::string> added;
    std::vector<uint64_t> runs;
    void onCurrentSector(uint64_t sector) override {
        runs.push_back(sector);
        if (stop && sector >= stopAt) stop->store(1);
    }
    void onPoolAdded(uint32_t, const PoolEntry& pool) override { added.push_back(pool.name); }
};

// A clock that moves ten seconds per reading, so that every run is a checkpoint.
SecondsClock Ticking() {
    return [t = 0.0]() mutable { return t += 10; };
}

// A clock that stands still: only Stop and the end of the scan record.
SecondsClock Still() {
    return [] { return 0.0; };
}

void ExpectSamePools(const PoolTable& got, const PoolTable& want) {
    ASSERT_EQ(got.count(), want.count());
    for (uint32_t row = 0; row < want.count(); ++row) {
        EXPECT_EQ(got[row].name, want[row].name) << row;
        EXPECT_EQ(got[row].poolSize, want[row].poolSize) << row;
        EXPECT_EQ(got[row].segmentCount, want[row].segmentCount) << row;
        EXPECT_EQ(got[row].segmentStart, want[row].segmentStart) << row;
        EXPECT_EQ(got[row].segmentExtent, want[row].segmentExtent) << row;
    }
}

struct Outcome {
    PoolTable pools;
    StoppingEvents events;
    ScanEnd end = ScanEnd::RangeDone;
};

void ScanWith(const NssImage& image, const ScanStateStore& store, std::optional<ScanState> from, Outcome& out,
         uint64_t stopAt = UINT64_MAX, SecondsClock clock = Still()) {
    auto reader = ReaderOf(image);
    std::atomic<int32_t> stop{0};
    out.events.stop = &stop;
    out.events.stopAt = stopAt;
    ResumableScanRequest request{kRange, kPerRead, kDrive, std::move(from), kDeviceReadAheadSectors, std::move(clock)};
    out.end = RunResumableScan(*reader, request, store, stop, out.pools, out.events);
}

class SplitPoolOrder : public ::testing::TestWithParam<std::array<int, 2>> {};

TEST_P(SplitPoolOrder, ResumedAfterStopBetweenTheSegmentsFindsWhatAWholeScanFinds) {
    const NssImage image = ImageWithSplitPool(GetParam());
    ScratchFolder folder("scan_state");
    const ScanStateStore store(folder.path().string());
    Outcome whole;
    ScanWith(image, ScanStateStore(""), std::nullopt, whole);
    ASSERT_EQ(PoolNames(whole.pools), (std::vector<std::string>{"FIRST", "SPLIT", "LAST"}));

    Outcome first;
    ScanWith(image, store, std::nullopt, first, 20000);
    ASSERT_EQ(first.end, ScanEnd::Stopped);
    const StoredScanState stored = FindResumableScan(store, kDrive, kRange);
    ASSERT_TRUE(stored.state) << stored.ignoredBecause;
    EXPECT_EQ(stored.state->nextSector, first.events.runs.back() + kPerRead);
    EXPECT_EQ(stored.state->nextSector % kPerRead, 0u);

    Outcome resumed;
    ScanWith(image, store, stored.state, resumed);
    EXPECT_EQ(resumed.end, ScanEnd::RangeDone);
    EXPECT_EQ(resumed.events.runs.front(), stored.state->nextSector);
    ExpectSamePools(resumed.pools, whole.pools);
    EXPECT_EQ(resumed.events.added, whole.events.added);
    // Done: nothing is left to go on from.
    EXPECT_FALSE(store.load(kDrive).state);
}

INSTANTIATE_TEST_SUITE_P(ChainOrders, SplitPoolOrder, ::testing::Values(std::array<int, 2>{0, 1}, std::array<int, 2>{1, 0}));

TEST(ResumableScan, ALastCheckpointBeforeACrashIsEnoughToGoOn) {
    const NssImage image = ImageWithSplitPool({0, 1});
    ScratchFolder folder("scan_state");
    const ScanStateStore store(folder.path().string());
    Outcome whole;
    ScanWith(image, ScanStateStore(""), std::nullopt, whole);
    // A crash leaves no final record: keep the checkpoint the stop would overwrite.
    ScanState crashed;
    {
        Outcome first;
        auto reader = ReaderOf(image);
        std::atomic<int32_t> stop{0};
        first.events.stop = &stop;
        first.events.stopAt = 25000;
        ScanCheckpoint checkpoint(first.events, store, ScanState{kDrive, kRange, kPerRead, 0, {}}, first.pools, Ticking());
        ContinueScanForPartitions(*reader, kRange, 0, kPerRead, stop, first.pools, checkpoint);
        crashed = *store.load(kDrive).state;
    }
    EXPECT_EQ(crashed.nextSector, 25020u);  // the run the stop came at: not yet examined
    EXPECT_EQ(crashed.pools.size(), 2u);
    Outcome resumed;
    ScanWith(image, store, crashed, resumed);
    ExpectSamePools(resumed.pools, whole.pools);
}

TEST(ResumableScan, CheckpointsWaitForTheirInterval) {
    const NssImage image = ImageWithSplitPool({0, 1});
    ScratchFolder folder("scan_state");
    const ScanStateStore store(folder.path().string());
    double now = 0;
    PoolTable pools;
    StoppingEvents events;
    ScanCheckpoint checkpoint(events, store, ScanState{kDrive, kRange, kPerRead, 0, {}}, pools, [&now] { return now; },
                              3);
    now = 2.9;
    checkpoint.onCurrentSector(600);
    EXPECT_FALSE(store.load(kDrive).state);
    now = 3;
    checkpoint.onCurrentSector(660);
    ASSERT_TRUE(store.load(kDrive).state);
    EXPECT_EQ(store.load(kDrive).state->nextSector, 660u);
    now = 5.9;
    checkpoint.onCurrentSector(720);
    EXPECT_EQ(store.load(kDrive).state->nextSector, 660u);
    EXPECT_EQ(events.runs, (std::vector<uint64_t>{600, 660, 720}));  // passed on all the same
}

TEST(ResumableScan, AStateOfAnotherRangeIsNotOffered) {
    ScratchFolder folder("scan_state");
    const ScanStateStore store(folder.path().string());
    ASSERT_TRUE(store.save(ScanState{kDrive, kRange, kPerRead, 600, {}}));
    EXPECT_TRUE(FindResumableScan(store, kDrive, kRange).state);
    EXPECT_FALSE(FindResumableScan(store, kDrive, {0, 499999}).state);
    EXPECT_FALSE(FindResumableScan(store, kDrive, {1, 500000}).state);
    EXPECT_FALSE(FindResumableScan(store, kDrive + "2", kRange).state);
}

TEST(ResumableScan, ResumeQuestionNamesSectorAndPercent) {
    EXPECT_EQ(ResumeQuestion(ScanState{kDrive, {0, 1000}, 60, 420, {}}),
              "A scan of this disk stopped at sector 420 (42 %). Continue from there?");
}

}  // namespace
}  // namespace lumbra::test
