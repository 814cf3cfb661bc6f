// The scan, the mount and the recovery of files of the demo disk, over and over, each time
// through a worn device of another seed (LUMBRA_SOAK_SEEDS sets how many; 200 by default).
// A seed that hangs stops the program with its number.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "expected_copy.h"
#include "memory_files.h"

#include "discovery/pool_listing.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/sector.h"
#include "recovery/mounted_image.h"
#include "recovery/recovery_run.h"
#include "support/demo_image.h"
#include "support/faulty_disk.h"
#include "support/nss_image_builder.h"
#include "support/random_fault_device.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

constexpr size_t kFilesPerSeed = 25;
constexpr auto kSeedTimeLimit = std::chrono::seconds(120);

// Ends the program when a seed takes longer than it may: a hang is a failure of its own.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    void startSeed(uint64_t seed) {
        std::lock_guard lock(mutex_);
        seed_ = seed;
        ++round_;
        changed_.notify_all();
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!done_) {
            const uint64_t round = round_;
            if (!changed_.wait_for(lock, kSeedTimeLimit, [&] { return done_ || round_ != round; })) {
                std::fprintf(stderr, "seed %llu hangs\n", static_cast<unsigned long long>(seed_));
                std::abort();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    uint64_t seed_ = 0;
    uint64_t round_ = 0;
    std::thread thread_;
};

uint64_t SeedCount() {
    const char* text = std::getenv("LUMBRA_SOAK_SEEDS");
    return text ? std::strtoull(text, nullptr, 10) : 200;
}

struct SoakTotals {
    uint64_t poolsFound = 0;
    uint64_t filesMounted = 0;
    uint64_t filesChecked = 0;
    uint64_t damaged = 0;
    uint64_t intact = 0;
    uint64_t cutShort = 0;
    uint64_t recordsChangedByDamage = 0;  // mounted records that differ from every one written
    uint64_t shortReads = 0;
    uint64_t slowReads = 0;
};

// One seed: the pools of the partition table, a mount of one volume and the recovery of some
// of its files, all through the worn device.
void SoakOneSeed(const test::NssImage& image, const PoolTable& healthyPools, uint64_t seed, SectorReader& reader,
                 const std::function<bool(uint64_t)>& unreadable, SoakTotals& totals) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    const test::BuiltPool& built = image.pools().at(seed % 2);
    const test::BuiltVolume& volume = built.volumes.at(seed / 2 % built.volumes.size());
    std::optional<SelectedPool> pool = test::BuiltPoolIn(pools, built);
    // A damaged pool header may hide the pool or a segment: the mount then takes the pool as a
    // scan of the healthy disk finds it.
    if (pool) ++totals.poolsFound;
    else pool = test::BuiltPoolIn(healthyPools, built);
    ASSERT_TRUE(pool);

    BlockQueue queue;
    RecoveredTree tree;
    NoMountEvents events;
    std::atomic<int32_t> stop{0};
    MountContext mount{reader, *pool, queue, tree, events, stop};
    const MountOutcome outcome = MountVolume(mount, {.recoveryMode = 1, .rootSector = volume.rootSector});
    ASSERT_EQ(outcome.memoryFailure, MemoryFailure::None);
    totals.filesMounted += tree.files().size();

    std::set<std::pair<uint64_t, std::string>> builtFiles;
    for (const test::BuiltFile& file : volume.files) builtFiles.insert({file.firstBlock, file.expectedName()});
    for (const ItemRecord& record : tree.files())
        if (!builtFiles.count({record.firstBlock, record.name})) ++totals.recordsChangedByDamage;
    std::mt19937_64 random(seed);
    test::MemoryFiles files;
    SavingFlags flags;
    const std::vector<std::string> filters;
    for (size_t n = 0; n < kFilesPerSeed && !tree.files().empty(); ++n) {
        const size_t index = random() % tree.files().size();
        const ItemRecord& record = tree.files()[index];
        files.files.clear();
        CopyContext copy{reader, *pool, files, flags, filters};
        const RecoveryRunResult run = RunRecovery(copy, tree, {.fileIndexes = {index}}, "/soak", {.writeReport = false});
        if (record.size == 0) continue;  // an empty file is not written
        ASSERT_EQ(run.summary.saved, 1u) << record.name;
        ASSERT_EQ(files.files.size(), 1u);
        const std::vector<uint8_t>& copied = files.files.begin()->second;

        // A record read from a damaged leaf is copied by what it says, as any other.
        const test::ExpectedCopy expected = test::ExpectCopy(image, built, record, unreadable);
        EXPECT_TRUE(copied == expected.bytes) << record.name << ": the copy differs from the readable data";
        const FileCondition condition = ConditionOfFile(reader, *pool, record, true);
        if (expected.cutShort) {
            EXPECT_EQ(condition.kind, ConditionKind::CutShort) << record.name;
            EXPECT_EQ(run.cutShort, 1u) << record.name;
            ++totals.cutShort;
        } else {
            EXPECT_EQ(condition.kind, expected.unreadable.empty() ? ConditionKind::Intact : ConditionKind::Damaged)
                << record.name;
            EXPECT_EQ(run.damaged, expected.unreadable.empty() ? 0u : 1u) << record.name;
            ++(expected.unreadable.empty() ? totals.intact : totals.damaged);
        }
        EXPECT_EQ(condition.unreadableRanges, expected.unreadable) << record.name;
        ++totals.filesChecked;
    }
}

TEST(BadSectorSoak, ScanMountAndRecoveryThroughWornDevicesKeepEveryReadableByte) {
    const test::NssImage image = test::buildImage(test::demoImagePlan());
    ASSERT_EQ(image.pools().size(), 2u);
    const uint64_t seeds = SeedCount();
    PoolTable healthyPools;
    ListPoolsFromPartitionTable(*image.reader(), healthyPools);
    SoakTotals totals;
    Watchdog watchdog;
    for (uint64_t seed = 1; seed <= seeds; ++seed) {
        watchdog.startSeed(seed);
        auto owned = std::make_unique<test::RandomFaultDevice>(image.device(), seed);
        const test::RandomFaultDevice& device = *owned;
        DeviceSectorReader reader(std::move(owned));
        SoakOneSeed(image, healthyPools, seed, reader, [&](uint64_t sector) { return device.unreadable(sector); },
                    totals);
        totals.shortReads += device.shortReads();
        totals.slowReads += device.slowReads();
        if (HasFatalFailure()) break;
    }
    std::printf("%llu seeds: pool found %llu times, %llu files mounted (%llu changed by damage), %llu recovered and "
                "compared (%llu damaged, %llu intact, %llu cut short), %llu short reads, %llu slow reads\n",
                static_cast<unsigned long long>(seeds), static_cast<unsigned long long>(totals.poolsFound),
                static_cast<unsigned long long>(totals.filesMounted),
                static_cast<unsigned long long>(totals.recordsChangedByDamage),
                static_cast<unsigned long long>(totals.filesChecked), static_cast<unsigned long long>(totals.damaged),
                static_cast<unsigned long long>(totals.intact), static_cast<unsigned long long>(totals.cutShort),
                static_cast<unsigned long long>(totals.shortReads), static_cast<unsigned long long>(totals.slowReads));
    // Most seeds leave the pool headers readable, and both conditions are met often.
    EXPECT_GT(totals.poolsFound, seeds / 3);
    EXPECT_GT(totals.damaged, 0u);
    EXPECT_GT(totals.intact, 0u);
}

uint64_t FaultyDiskSeedCount() {
    const char* text = std::getenv("LUMBRA_FAULTY_SOAK_SEEDS");
    return text ? std::strtoull(text, nullptr, 10) : 4;
}

// The unreadable sectors of a seed's worn device as a fault plan, failing at once.
faulty::FaultPlan PlanOfSeed(const test::RandomFaultDevice& device, uint64_t sectors) {
    faulty::FaultPlan plan{.failDelayMs = 0};
    for (uint64_t sector = 0; sector < sectors; ++sector) {
        if (!device.unreadable(sector)) continue;
        if (!plan.unreadable.empty() && plan.unreadable.back().start + plan.unreadable.back().count == sector)
            ++plan.unreadable.back().count;
        else plan.unreadable.push_back({sector, 1});
    }
    return plan;
}

// The same seeds' bad sectors on a faulty disk that the kernel reads: what the kernel gives a
// program reading a failing disk is held to the same rules.
TEST(BadSectorSoak, SeedsOnAFaultyDiskTheKernelReadsKeepEveryReadableByte) {
    if (const std::string why = test::FaultyDiskUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const test::NssImage image = test::buildImage(test::demoImagePlan());
    const test::ScratchFolder scratch("faulty_disk_soak");
    const std::string path = scratch.file("demo.img");
    image.writeTo(path);
    PoolTable healthyPools;
    ListPoolsFromPartitionTable(*image.reader(), healthyPools);
    SoakTotals totals;
    Watchdog watchdog;
    const uint64_t seeds = FaultyDiskSeedCount();
    for (uint64_t seed = 1; seed <= seeds; ++seed) {
        watchdog.startSeed(seed);
        const test::RandomFaultDevice device(image.device(), seed);
        const test::ScratchFolder folder("faulty_disk_seed");
        test::FaultyDisk disk(path, PlanOfSeed(device, image.sectorCount()), folder.path().string());
        ASSERT_TRUE(disk.ready()) << disk.why();
        auto opened = FileDevice::Open(disk.path());
        ASSERT_TRUE(opened);
        DeviceSectorReader reader(std::move(opened));
        SoakOneSeed(image, healthyPools, seed, reader, [&](uint64_t sector) { return device.unreadable(sector); }, totals);
        std::printf("seed %llu: %s\n", static_cast<unsigned long long>(seed), disk.counters().text().c_str());
        if (HasFatalFailure()) break;
    }
    EXPECT_GT(totals.damaged, 0u);
    EXPECT_GT(totals.intact, 0u);
}

}  // namespace
}  // namespace lumbra
