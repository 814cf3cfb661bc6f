// pools --scan keeps its place, and --resume goes on from it to the pools of a scan without a
// stop; extract --from-list recovers exactly the files a list names.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli_runner.h"
#include "discovery/resumable_scan.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/drive_identity.h"
#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace lumbra::test {
namespace {

// Every scan of this test program keeps its state in a folder of the program's own, never in
// the user's.
class ScanStateFolder : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = std::make_unique<ScratchFolder>("cli_scan_states");
        setenv("XDG_STATE_HOME", folder_->path().c_str(), 1);
    }
    void TearDown() override { folder_.reset(); }

private:
    std::unique_ptr<ScratchFolder> folder_;
};
::testing::Environment* const kScanStateFolder = ::testing::AddGlobalTestEnvironment(new ScanStateFolder);

SegmentPlan InChain(uint32_t headerSector, int chain, uint32_t extent = 0) {
    SegmentPlan segment{.headerSector = headerSector};
    if (extent != 0) segment.extent = extent;
    segment.header.chain = chain;
    return segment;
}

// Pools in chains of their own; SPLIT's two segments lie 20000 sectors apart.
std::string WriteScanDisk(const ScratchFolder& folder) {
    PoolPlan split{.name = "SPLIT"};
    split.segments = {InChain(10000, 1, 8192), InChain(30000, 1, 8192)};
    const std::string path = folder.file("disk.img");
    NssImageBuilder().noMbr().pool("FIRST", InChain(2048, 0)).pool(split).pool("LAST", InChain(42000, 2))
        .diskSectors(50000).build().writeTo(path);
    return path;
}

// Leaves the state of a scan of the disk stopped when the run at `stopAt` began.
ScanState StopScanAt(const std::string& disk, uint64_t stopAt) {
    struct Stopper : ScanEvents {
        std::atomic<int32_t>* stop = nullptr;
        uint64_t at = 0;
        void onCurrentSector(uint64_t sector) override {
            if (sector >= at) stop->store(1);
        }
    } events;
    std::atomic<int32_t> stop{0};
    events.stop = &stop;
    events.at = stopAt;
    DeviceSectorReader reader(FileDevice::Open(disk));
    const ScanStateStore store(ScanStateStore::DefaultFolder());
    PoolTable pools;
    RunResumableScan(reader, {{0, 50000}, 60, DriveIdentity(disk)}, store, stop, pools, events);
    return *store.load(DriveIdentity(disk)).state;
}

std::vector<std::string> Scan(const std::string& disk, std::vector<std::string> more = {}) {
    std::vector<std::string> arguments{"--no-drives", "pools", "--drive", disk, "--scan", "0", "50000", "--json"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    const CliRun run = RunCli(arguments);
    return {std::to_string(run.exitCode), run.out, run.err};
}

TEST(CliScanResume, ResumeGoesOnToThePoolsOfAWholeScan) {
    ScratchFolder folder("cli_scan_resume");
    const std::string disk = WriteScanDisk(folder);
    const auto whole = Scan(disk);
    ASSERT_EQ(whole[0], "0") << whole[2];
    ASSERT_NE(whole[1].find("\"LAST\""), std::string::npos) << whole[1];

    const ScanState stopped = StopScanAt(disk, 20000);
    ASSERT_EQ(stopped.nextSector, 20100u);
    ASSERT_EQ(stopped.pools.size(), 2u);  // FIRST and SPLIT, found from segment 0 before the stop
    // Without --resume the state is named, and the scan starts afresh.
    const auto fresh = Scan(disk);
    EXPECT_NE(fresh[2].find("a scan of this drive and range stopped at sector 20100 (40 %); --resume goes on"),
              std::string::npos)
        << fresh[2];
    EXPECT_EQ(fresh[1], whole[1]);

    StopScanAt(disk, 20000);
    const auto resumed = Scan(disk, {"--resume"});
    ASSERT_EQ(resumed[0], "0") << resumed[2];
    EXPECT_NE(resumed[2].find("going on from sector 20100 (40 %)"), std::string::npos) << resumed[2];
    EXPECT_EQ(resumed[1], whole[1]);
    // The scan is done: there is nothing left to go on from.
    const auto again = Scan(disk, {"--resume"});
    EXPECT_NE(again[2].find("no stopped scan of this drive and range; scanning from the start"), std::string::npos)
        << again[2];
    EXPECT_EQ(again[1], whole[1]);
}

TEST(CliScanResume, ADamagedStateIsNamedAndNotUsed) {
    ScratchFolder folder("cli_scan_resume");
    const std::string disk = WriteScanDisk(folder);
    StopScanAt(disk, 20000);
    const ScanStateStore store(ScanStateStore::DefaultFolder());
    const std::string path = store.pathFor(DriveIdentity(disk));
    WriteWholeFile(path, "{\"format\":1,\"kind\":\"lumbra-nss scan state\",\"drive\":\"x\"");
    const auto run = Scan(disk, {"--resume"});
    ASSERT_EQ(run[0], "0") << run[2];
    EXPECT_NE(run[2].find("the scan state " + path + " is ignored: it is not valid JSON"), std::string::npos) << run[2];
    EXPECT_NE(run[1].find("\"LAST\""), std::string::npos);
}

TEST(CliScanResume, ResumeNeedsAScan) {
    ScratchFolder folder("cli_scan_resume");
    const CliRun run = RunCli({"--no-drives", "pools", "--drive", WriteScanDisk(folder), "--resume"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--resume goes with --scan START END"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace lumbra::test
