// The search for NetWare partitions over a sector range: what it reads, what it reports and
// when it stops.
#include <gtest/gtest.h>

#include <limits>

#include "discovery/partition_scan.h"
#include "discovery_test_helpers.h"
#include "support/faulty_device.h"
#include "support/numbered_name.h"

namespace lumbra::test {
namespace {

// Records every event in the order received; may ask for a stop when a given run starts.
struct RecordingEvents : ScanEvents {
    std::vector<uint64_t> sectors;
    std::vector<std::string> statusLines;
    std::vector<uint32_t> percents;
    std::vector<std::pair<uint32_t, std::string>> added;
    std::vector<uint32_t> counts;
    std::vector<char> order;  // S status, A added, F found
    std::atomic<int32_t>* stopFlag = nullptr;
    uint64_t stopAtSector = 0;

    void onCurrentSector(uint64_t sector) override {
        sectors.push_back(sector);
        if (stopFlag && sector == stopAtSector) stopFlag->store(1);
    }
    void onStatus(uint64_t done, uint64_t length) override {
        statusLines.push_back(ScanStatusText(done, length));
        order.push_back('S');
    }
    void onProgress(uint32_t percent) override { percents.push_back(percent); }
    void onPoolAdded(uint32_t row, const PoolEntry& pool) override {
        added.emplace_back(row, pool.name);
        order.push_back('A');
    }
    void onPoolsFound(uint32_t count) override {
        counts.push_back(count);
        order.push_back('F');
    }
};

SegmentPlan At(uint32_t headerSector, int chain = 0) {
    SegmentPlan segment{.headerSector = headerSector};
    segment.header.chain = chain;
    return segment;
}

struct ScanRun {
    PoolTable pools;
    RecordingEvents events;
    std::vector<std::pair<uint64_t, uint32_t>> runs;  // the scan's own reads (walks read single sectors)
    int32_t stopAfter = 0;
    ScanEnd end = ScanEnd::RangeDone;
};

// Scans with a recording reader; chain walks read single sectors, the scan reads whole runs.
void Scan(const NssImage& image, ScanRange range, uint32_t perRead, ScanRun& run,
          uint64_t stopAtSector = 0, uint32_t readAhead = 0) {
    RecordingReader reader(ReaderOf(image));
    std::atomic<int32_t> stop{1};  // the scan clears a stale stop
    if (stopAtSector != 0) {
        run.events.stopFlag = &stop;
        run.events.stopAtSector = stopAtSector;
    }
    run.end = ScanForPartitions(reader, range, perRead, stop, run.pools, run.events, readAhead);
    for (const auto& read : reader.reads)
        if (read.second > 1) run.runs.push_back(read);
    run.stopAfter = stop.load();
}

TEST(PartitionScan, OneSectorRangeReadsOneWholeRun) {
    // The header sits at the last sector of the only run: i = N - 1 is examined too.
    const NssImage image = NssImageBuilder().noMbr().pool("EDGE", At(1059)).build();
    ScanRun run;
    Scan(image, {1000, 1001}, 60, run);
    EXPECT_EQ(run.runs, (std::vector<std::pair<uint64_t, uint32_t>>{{1000, 60}}));
    EXPECT_EQ(run.events.sectors, std::vector<uint64_t>{1000});
    EXPECT_EQ(run.events.statusLines, std::vector<std::string>{"Scanning sector 0 Of 1"});
    EXPECT_EQ(run.events.percents, std::vector<uint32_t>{0});
    EXPECT_EQ(PoolNames(run.pools), std::vector<std::string>{"EDGE"});
    EXPECT_EQ(run.stopAfter, 0);
    EXPECT_EQ(run.end, ScanEnd::RangeDone);
}

TEST(PartitionScan, ReportsEachRunAndEachPoolInOrder) {
    const NssImage image = NssImageBuilder().noMbr().pool("EDGE", At(1100)).build();
    ScanRun run;
    Scan(image, {1000, 1300}, 60, run);
    EXPECT_EQ(run.events.sectors, (std::vector<uint64_t>{1000, 1060, 1120, 1180, 1240}));
    EXPECT_EQ(run.events.percents, (std::vector<uint32_t>{0, 20, 40, 60, 80}));
    EXPECT_EQ(run.events.statusLines.back(), "Scanning sector 240 Of 300");
    EXPECT_EQ(std::string(run.events.order.begin(), run.events.order.end()), "SSAFSSS");
    EXPECT_EQ(run.events.added, (std::vector<std::pair<uint32_t, std::string>>{{0, "EDGE"}}));
}

TEST(PartitionScanReadAhead, ReadsWholeRunsUpToTheLimitAndNoMoreThanTheRangeNeeds) {
    const NssImage image = NssImageBuilder()
                               .noMbr()
                               .pool("FIRST", At(1100, 0))
                               .pool("SECOND", At(4500, 1))
                               .build();
    ScanRun run;
    Scan(image, {0, 5000}, 60, run, 0, kDeviceReadAheadSectors);
    // 84 runs of 60 sectors, 34 runs (2040 sectors) per read.
    EXPECT_EQ(run.runs, (std::vector<std::pair<uint64_t, uint32_t>>{{0, 2040}, {2040, 2040}, {4080, 960}}));
    EXPECT_EQ(run.events.sectors.size(), 84u);
    EXPECT_EQ(run.events.sectors.back(), 4980u);
    EXPECT_EQ(PoolNames(run.pools), (std::vector<std::string>{"FIRST", "SECOND"}));

    ScanRun single;
    Scan(image, {1000, 1001}, 60, single, 0, kDeviceReadAheadSectors);
    EXPECT_EQ(single.runs, (std::vector<std::pair<uint64_t, uint32_t>>{{1000, 60}}));
}

TEST(PartitionScanReadAhead, StopStillEndsAfterTheCurrentRun) {
    const NssImage image = NssImageBuilder()
                               .noMbr()
                               .pool("EARLY", At(1100, 0))
                               .pool("LATE", At(1300, 1))
                               .build();
    ScanRun run;
    Scan(image, {1000, 2000}, 60, run, 1060, kDeviceReadAheadSectors);
    EXPECT_EQ(run.events.sectors, (std::vector<uint64_t>{1000, 1060}));
    EXPECT_EQ(PoolNames(run.pools), std::vector<std::string>{"EARLY"});
}

TEST(PartitionScan, RunWithABadSectorStillShowsItsGoodSectors) {
    // Sector 2050 of the run 2040..2099 never reads: the bulk read fails, the header at 2048
    // comes from the sector-by-sector pass.
    const NssImage image = NssImageBuilder().noMbr().pool("DATA", At(2048)).build();
    DeviceSectorReader reader(std::make_unique<FaultyDevice>(image.device(), std::set<uint64_t>{2050}));
    PoolTable pools;
    ScanEvents events;
    std::atomic<int32_t> stop{0};
    ScanForPartitions(reader, {2040, 2100}, 60, stop, pools, events);
    EXPECT_EQ(PoolNames(pools), std::vector<std::string>{"DATA"});
}

struct NearMissCase {
    const char* what;
    uint8_t kind;
    std::string signature;
    uint16_t value;
    size_t pools;
};

class SignatureTest : public ::testing::TestWithParam<NearMissCase> {};

TEST_P(SignatureTest, OnlyTheExactSignatureIsAHit) {
    const NearMissCase hit = GetParam();
    SegmentPlan segment = At(2048);
    segment.header.kind = hit.kind;
    segment.header.signature = hit.signature;
    segment.header.signatureValue = hit.value;
    ScanRun run;
    Scan(NssImageBuilder().noMbr().pool("DATA", segment).build(), {0, 4096}, 60, run);
    EXPECT_EQ(run.pools.count(), hit.pools) << hit.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SignatureTest,
    ::testing::Values(NearMissCase{"exact", 0x01, "Nw_PaRtItIoN", 0x0169, 1},
                      NearMissCase{"byte 0 is 0", 0x00, "Nw_PaRtItIoN", 0x0169, 0},
                      NearMissCase{"other value at 16", 0x01, "Nw_PaRtItIoN", 0x0168, 0},
                      NearMissCase{"lower case", 0x01, "nw_partition", 0x0169, 0}));

TEST(PartitionScan, PartitionMetTwiceIsAddedOnce) {
    // The walk from A reaches B; the scan then meets B's own header.
    const NssImage image =
        NssImageBuilder().noMbr().pool("ALPHA", At(2048)).pool("BETA", At(6000)).build();
    ScanRun run;
    Scan(image, {0, 8192}, 60, run);
    EXPECT_EQ(PoolNames(run.pools), (std::vector<std::string>{"ALPHA", "BETA"}));
    EXPECT_EQ(run.events.added,
              (std::vector<std::pair<uint32_t, std::string>>{{0, "ALPHA"}, {1, "BETA"}}));
    EXPECT_EQ(run.events.counts, (std::vector<uint32_t>{2, 2}));
}

TEST(PartitionScan, StopEndsAfterTheCurrentRunAndKeepsThePools) {
    // Stop is pressed while the run at 1060 is read: that run is still examined.
    const NssImage image = NssImageBuilder()
                               .noMbr()
                               .pool("EARLY", At(1100, 0))
                               .pool("LATE", At(1300, 1))
                               .build();
    ScanRun run;
    Scan(image, {1000, 2000}, 60, run, 1060);
    EXPECT_EQ(run.runs, (std::vector<std::pair<uint64_t, uint32_t>>{{1000, 60}, {1060, 60}}));
    EXPECT_EQ(PoolNames(run.pools), std::vector<std::string>{"EARLY"});
    EXPECT_EQ(run.end, ScanEnd::Stopped);
}

TEST(PartitionScan, StopsOnceMoreThanFortyEightPoolsAreKnown) {
    NssImageBuilder builder;
    for (int i = 0; i < 51; ++i) builder.pool(NumberedName("P", i), At(2048 + i * 4096, i));
    ScanRun run;
    Scan(builder.noMbr().build(), {0, 2048 + 51 * 4096}, 60, run);
    EXPECT_EQ(run.pools.count(), 49u);
    EXPECT_EQ(run.events.counts.back(), 49u);
    EXPECT_EQ(run.stopAfter, 1);
    EXPECT_EQ(run.end, ScanEnd::PoolLimit) << "the limit is told apart from a stop asked for";
}

TEST(PartitionScan, RangeEndingAtTheLastSectorNumberEnds) {
    const uint32_t last = std::numeric_limits<uint32_t>::max();
    const NssImage image = NssImageBuilder().pool("DATA", At(2048)).diskSectors(uint64_t{last} + 1).build();
    ScanRun run;
    Scan(image, {last - 100, last}, 60, run);
    EXPECT_EQ(run.events.sectors, (std::vector<uint64_t>{last - 100, uint64_t{last} - 40}));
    EXPECT_TRUE(run.pools.empty());
}

// A range that reaches past the disk ends at the disk's end at once: nothing past it is read,
// and the progress counts the sectors up to there. A range ending exactly there is whole.
TEST(PartitionScan, ARangePastTheDiskEndStopsAtTheDiskEnd) {
    const NssImage image = NssImageBuilder().pool("DATA", At(2048)).build();
    const uint64_t sectors = image.sectorCount();
    for (const uint64_t end : {sectors, sectors + 1, sectors + 600}) {
        ScanRun run;
        Scan(image, {1000, static_cast<uint32_t>(end)}, 60, run);
        EXPECT_EQ(run.end, ScanEnd::RangeDone);
        EXPECT_EQ(PoolNames(run.pools), std::vector<std::string>{"DATA"});
        const uint64_t runs = (sectors - 1000 + 59) / 60;
        EXPECT_EQ(run.events.sectors.size(), runs) << end;
        EXPECT_EQ(run.events.statusLines.back(), ScanStatusText((runs - 1) * 60, sectors - 1000)) << end;
    }
    EXPECT_EQ(ScanEndOnDisk({0, std::numeric_limits<uint32_t>::max()}, sectors), sectors);
    EXPECT_EQ(ScanEndOnDisk({0, 100}, sectors), 100u);
    EXPECT_EQ(ScanEndOnDisk({0, 100}, std::nullopt), 100u);

    // A range that starts past the end scans nothing.
    ScanRun past;
    Scan(image, {static_cast<uint32_t>(sectors), static_cast<uint32_t>(sectors + 100)}, 60, past);
    EXPECT_EQ(past.end, ScanEnd::RangeDone);
    EXPECT_TRUE(past.events.sectors.empty());
    EXPECT_TRUE(past.runs.empty());
}

TEST(PartitionScan, StartsFromAnEmptyTableAndUsesTheRunSize) {
    const NssImage image = NssImageBuilder().pool("DATA", At(2048)).build();
    ScanRun run;
    run.pools.add(PoolEntry{.name = "OLD"});
    Scan(image, {2040, 2056}, 8, run);
    EXPECT_EQ(run.runs, (std::vector<std::pair<uint64_t, uint32_t>>{{2040, 8}, {2048, 8}}));
    EXPECT_EQ(PoolNames(run.pools), std::vector<std::string>{"DATA"});
}

struct RangeCase {
    const char* start;
    const char* end;
    std::string_view error;
};

class RangeValidation : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeValidation, GivesTheRangeOrTheReason) {
    const RangeCase range = GetParam();
    const ScanRangeCheck check = ValidateScanRange(range.start, range.end);
    EXPECT_EQ(check.error, range.error) << range.start << " " << range.end;
    EXPECT_EQ(check.range.has_value(), range.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeValidation,
    ::testing::Values(RangeCase{"0", "0", kEndNotAfterStartText},
                      RangeCase{"10", "9", kEndNotAfterStartText},
                      RangeCase{"-5", "100", kStartSectorInvalidText},
                      RangeCase{"", "100", kStartSectorInvalidText},
                      RangeCase{"4294967296", "100", kStartSectorInvalidText},
                      RangeCase{" 5", "100", kStartSectorInvalidText},
                      RangeCase{"5", "x", kEndSectorInvalidText},
                      RangeCase{"5", "", kEndSectorInvalidText},
                      RangeCase{"0", "4294967295", ""},
                      RangeCase{"1000", "1001", ""}));

TEST(RangeValidation, MessagesKeepTheirLeadingBlanks) {
    EXPECT_EQ(ValidateScanRange("0", "0").error,
              "      End sector should be bigger than start sector");
    EXPECT_EQ(ValidateScanRange("-5", "1").error,
              "      Start sector value is not valid, It should be a positive number");
}

}  // namespace
}  // namespace lumbra::test
