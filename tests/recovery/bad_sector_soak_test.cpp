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

#include "discovery/pool_listing.h"
#include "disk/device_sector_reader.h"
#include "disk/sector.h"
#include "recovery/mounted_image.h"
#include "recovery/recovery_run.h"
#include "support/demo_image.h"
#include "support/random_fault_device.h"

namespace lumbra {
namespace {

constexpr size_t kFilesPerSeed = 25;
constexpr auto kSeedTimeLimit = std::chrono::seconds(120);

// Destination files kept in memory: thousands of copies leave no trace on the disk.
class MemoryFiles : public DestinationFiles {
public:
    bool exists(const std::string& path) const override { return files.count(path) || folders.count(path); }
    std::unique_ptr<DestinationFile> create(const std::string& path) override {
        return std::make_unique<File>(files[path] = {});
    }
    bool ensureFolder(const std::string& path) override {
        folders.insert(path);
        return true;
    }

    std::map<std::string, std::vector<uint8_t>> files;
    std::set<std::string> folders;

private:
    class File : public DestinationFile {
    public:
        explicit File(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        bool write(const uint8_t* bytes, size_t length) override {
            bytes_.insert(bytes_.end(), bytes, bytes + length);
            return true;
        }
        bool close() override { return true; }
        void abandon() override { bytes_.clear(); }

    private:
        std::vector<uint8_t>& bytes_;
    };
};

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

// What a copy of a record's data must hold: the consecutive pool blocks from its first block as
// the healthy disk has them, zeros where the worn device never reads; and which bytes those are.
struct ExpectedCopy {
    std::vector<uint8_t> bytes;
    std::vector<ByteArea> unreadable;
    bool cutShort = false;  // the pool ends before the record's size
};

ExpectedCopy ExpectCopy(const test::NssImage& image, const test::BuiltPool& pool, const ItemRecord& record,
                        const test::RandomFaultDevice& device) {
    ExpectedCopy expected;
    const uint64_t size = static_cast<uint64_t>(record.size);
    for (uint64_t at = 0; at < size; at += kSectorSize) {
        const auto sector = pool.toDiskSector(record.firstBlock * kSectorsPerBlock + at / kSectorSize);
        if (!sector || (*sector + 1) * kSectorSize > image.sizeBytes()) {
            expected.cutShort = true;
            break;
        }
        const uint64_t length = std::min<uint64_t>(kSectorSize, size - at);
        std::vector<uint8_t> data = image.readSectors(*sector, 1);
        data.resize(length);
        if (device.unreadable(*sector)) {
            std::fill(data.begin(), data.end(), 0);
            ByteArea* last = expected.unreadable.empty() ? nullptr : &expected.unreadable.back();
            if (last && last->position + last->size == at) last->size += length;
            else expected.unreadable.push_back({at, length});
        }
        expected.bytes.insert(expected.bytes.end(), data.begin(), data.end());
    }
    return expected;
}

std::optional<SelectedPool> BuiltPoolIn(const PoolTable& pools, const test::BuiltPool& built,
                                        const std::vector<uint32_t>& builtStarts) {
    for (uint32_t i = 0; i < pools.count(); ++i)
        if (pools[i].name == built.expectedName) {
            auto pool = SelectPool(pools, i);
            if (pool && pool->segmentStart == builtStarts) return pool;
        }
    return std::nullopt;
}

// One seed: the pools of the partition table, a mount of one volume and the recovery of some
// of its files, all through the worn device.
void SoakOneSeed(const test::NssImage& image, const PoolTable& healthyPools, uint64_t seed, SoakTotals& totals) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    auto owned = std::make_unique<test::RandomFaultDevice>(image.device(), seed);
    const test::RandomFaultDevice& device = *owned;
    DeviceSectorReader reader(std::move(owned));
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    const test::BuiltPool& built = image.pools().at(seed % 2);
    const test::BuiltVolume& volume = built.volumes.at(seed / 2 % built.volumes.size());
    std::vector<uint32_t> builtStarts;
    for (const auto& segment : built.segments) builtStarts.push_back(static_cast<uint32_t>(segment.dataStart));
    std::optional<SelectedPool> pool = BuiltPoolIn(pools, built, builtStarts);
    // A damaged pool header may hide the pool or a segment: the mount then takes the pool as a
    // scan of the healthy disk finds it.
    if (pool) ++totals.poolsFound;
    else pool = BuiltPoolIn(healthyPools, built, builtStarts);
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
    MemoryFiles files;
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
        const ExpectedCopy expected = ExpectCopy(image, built, record, device);
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
    totals.shortReads += device.shortReads();
    totals.slowReads += device.slowReads();
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
        SoakOneSeed(image, healthyPools, seed, totals);
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

}  // namespace
}  // namespace lumbra
