// The demo disk served by a faulty disk that the kernel reads (a read-only loop device for root,
// the served file otherwise): the scan, the mount and the recovery of one pool for each fault
// plan of a table, held against the same walk through the in-process faulty device and against
// the bytes the image builder wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/rescue_map.h"
#include "disk/rescued_device.h"
#include "disk_walk.h"
#include "support/demo_image.h"
#include "support/nss_image_builder.h"
#include "support/faulty_device.h"
#include "support/faulty_disk.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

using faulty::FaultPlan;
using faulty::SectorArea;

constexpr uint16_t kRetries = 3;
// A sector is asked for by the scan, the partition table, the volumes, the mount and a copy at
// most; each time the reader tries it once in a run and kRetries times alone.
constexpr uint64_t kMostAttemptsOnASector = 5 * (1 + kRetries);

struct Demo {
    test::NssImage image = test::buildImage(test::demoImagePlan());
    const test::BuiltPool& pool = image.pool("ARCHIVE");
    const test::BuiltVolume& volume = pool.volumes.at(0);
    PoolTable healthyPools;
    Demo() { ListPoolsFromPartitionTable(*image.reader(), healthyPools); }

    uint64_t diskSector(uint64_t poolSector) const { return pool.toDiskSector(poolSector).value(); }
    // A file of one run over at least three blocks, the `nth` such file.
    const test::BuiltFile& longFile(size_t nth) const {
        for (const test::BuiltFile& file : volume.files)
            if (file.blockCount >= 3 && file.runs.size() == 1 && !file.lostByDamage && nth-- == 0) return file;
        throw std::runtime_error("the demo volume has no such file");
    }
};

// What a row expects beyond the readable bytes: how many files come out damaged, and what the
// damage hides.
struct Row {
    const char* name;
    FaultPlan plan;
    size_t damagedFiles = 0;
    bool fewerFiles = false;       // records of the volume are lost
    bool volumeListed = true;
    bool poolWhole = true;         // the scan and the partition table find every segment
};

std::vector<Row> Rows(const Demo& demo) {
    const test::BuiltFile& data = demo.longFile(0);
    const test::BuiltFile& weak = demo.longFile(1);
    const uint64_t leafBlock = demo.volume.leafBlocks.at(demo.volume.leafBlocks.size() / 2);
    // Sectors 3 to 5 of the file's second block: the damage starts and ends inside a page.
    const SectorArea fileData{demo.diskSector(data.firstBlock * kSectorsPerBlock + kSectorsPerBlock + 3), 3};
    return {
        {"no fault", {}},
        {"file data", {.unreadable = {fileData}}, 1},
        {"B-tree leaf", {.unreadable = {{demo.diskSector(leafBlock * kSectorsPerBlock), kSectorsPerBlock}}}, 0, true},
        {"superblock", {.unreadable = {{demo.pool.superblockSector, 1}}}, 0, false, false},
        {"partition header", {.unreadable = {{demo.pool.segments.at(1).headerSector, 1}}}, 0, false, true, false},
        // Read on the last retry, slowly, as a worn disk reads it.
        {"weak sector",
         {.slow = {{{demo.diskSector(weak.firstBlock * kSectorsPerBlock), kSectorsPerBlock}, 20}},
          .weak = {{{demo.diskSector(weak.firstBlock * kSectorsPerBlock + 1), 1}, 1 + kRetries}}},
         0},
    };
}

std::unique_ptr<DeviceSectorReader> KernelReader(const test::FaultyDisk& disk) {
    auto device = FileDevice::Open(disk.path());
    return device ? std::make_unique<DeviceSectorReader>(std::move(device), kRetries) : nullptr;
}

// The bytes every file must hold: the builder's, zeros where `unreadable` says.
void ExpectFilesAsBuilt(const Demo& demo, const test::DiskWalk& walk,
                        const std::function<std::vector<ByteArea>(const test::WalkedFile&)>& unreadableOf) {
    for (const test::WalkedFile& file : walk.files) {
        if (file.record.size == 0) continue;
        const std::vector<ByteArea> unreadable = unreadableOf(file);
        const test::ExpectedCopy expected =
            test::ExpectCopy(demo.image, demo.pool, file.record, [&](uint64_t) { return false; });
        std::vector<uint8_t> bytes = expected.bytes;
        for (const ByteArea& area : unreadable)
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(area.position), area.size, 0);
        EXPECT_TRUE(file.bytes == bytes) << file.record.name << ": not the builder's bytes";
        EXPECT_EQ(file.condition.unreadableRanges, unreadable) << file.record.name;
        EXPECT_EQ(file.condition.kind, unreadable.empty() ? ConditionKind::Intact : ConditionKind::Damaged)
            << file.record.name;
    }
}

size_t DamagedFiles(const test::DiskWalk& walk) {
    size_t damaged = 0;
    for (const test::WalkedFile& file : walk.files) damaged += file.condition.kind == ConditionKind::Damaged;
    return damaged;
}

void ExpectSameWalk(const test::DiskWalk& kernel, const test::DiskWalk& reference) {
    EXPECT_EQ(kernel.scanFoundPool, reference.scanFoundPool);
    EXPECT_EQ(kernel.tableListsPool, reference.tableListsPool);
    EXPECT_EQ(kernel.volumeListed, reference.volumeListed);
    ASSERT_EQ(kernel.files.size(), reference.files.size());
    for (size_t i = 0; i < kernel.files.size(); ++i) {
        EXPECT_EQ(kernel.files[i].record.name, reference.files[i].record.name);
        EXPECT_EQ(kernel.files[i].record.firstBlock, reference.files[i].record.firstBlock);
    }
}

TEST(FaultyDisk, ScanMountAndRecoveryOfEachFaultPlanGiveEveryReadableByteAndNameTheRest) {
    if (const std::string why = test::FaultyDiskUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const Demo demo;
    const test::ScratchFolder scratch("faulty_disk_walk");
    const std::string image = scratch.file("demo.img");
    demo.image.writeTo(image);
    size_t healthyFiles = 0;
    uint64_t healthyReads = 0;
    for (const Row& row : Rows(demo)) {
        SCOPED_TRACE(row.name);
        const test::ScratchFolder folder("faulty_disk_row");
        test::FaultyDisk disk(image, row.plan, folder.path().string());
        ASSERT_TRUE(disk.ready()) << disk.why();
        auto reader = KernelReader(disk);
        ASSERT_TRUE(reader);
        const test::DiskWalk walk = test::WalkDisk(*reader, demo.healthyPools, demo.pool, demo.volume);
        const test::FaultyDiskCounters counters = disk.counters();
        std::printf("%-16s %s: %zu files, %zu damaged; %s\n", row.name, disk.throughLoopDevice() ? "loop device" : "file",
                    walk.files.size(), DamagedFiles(walk), counters.text().c_str());
        std::fflush(stdout);

        std::set<uint64_t> unreadable;
        for (const SectorArea& area : row.plan.unreadable)
            for (uint64_t sector = area.start; sector < area.start + area.count; ++sector) unreadable.insert(sector);
        DeviceSectorReader inProcess(std::make_unique<test::FaultyDevice>(demo.image.device(), unreadable), kRetries);
        ExpectSameWalk(walk, test::WalkDisk(inProcess, demo.healthyPools, demo.pool, demo.volume));
        ExpectFilesAsBuilt(demo, walk, [&](const test::WalkedFile& file) {
            return test::ExpectCopy(demo.image, demo.pool, file.record, [&](uint64_t s) { return unreadable.count(s) > 0; })
                .unreadable;
        });
        EXPECT_EQ(DamagedFiles(walk), row.damagedFiles);
        EXPECT_EQ(walk.volumeListed, row.volumeListed);
        EXPECT_EQ(walk.scanFoundPool && walk.tableListsPool, row.poolWhole);
        if (healthyFiles == 0) {
            healthyFiles = walk.files.size();
            healthyReads = counters.reads;
        } else {
            EXPECT_EQ(walk.files.size() < healthyFiles, row.fewerFiles);
        }
        EXPECT_LE(counters.mostFailedReadsOfOneSector, kMostAttemptsOnASector);
    }

    // A disk that dies during the copies, a few files before their end: what was read before is
    // whole, the rest is zeros and said so. Failing fast, so that the retries of the dead disk
    // cost no waiting.
    SCOPED_TRACE("dying disk");
    const test::ScratchFolder folder("faulty_disk_dying");
    test::FaultyDisk disk(image, {.failDelayMs = 0, .dieAfterReads = healthyReads - 30}, folder.path().string());
    ASSERT_TRUE(disk.ready()) << disk.why();
    auto reader = KernelReader(disk);
    ASSERT_TRUE(reader);
    const test::DiskWalk walk = test::WalkDisk(*reader, demo.healthyPools, demo.pool, demo.volume);
    const test::FaultyDiskCounters counters = disk.counters();
    std::printf("%-16s %s: %zu files, %zu damaged; %s\n", "dying disk", disk.throughLoopDevice() ? "loop device" : "file",
                walk.files.size(), DamagedFiles(walk), counters.text().c_str());
    EXPECT_TRUE(counters.dead);
    EXPECT_EQ(walk.files.size(), healthyFiles);
    ExpectFilesAsBuilt(demo, walk, [](const test::WalkedFile& file) { return file.condition.unreadableRanges; });
    EXPECT_GT(DamagedFiles(walk), 0u);
    EXPECT_LT(DamagedFiles(walk), walk.files.size());
}

// The program's reader of an image with its rescue map, as the command line builds it.
std::unique_ptr<DeviceSectorReader> RescuedReader(const std::string& image, const std::string& map) {
    const auto parsed = ReadRescueMapFile(map);
    auto device = FileDevice::Open(image);
    if (!std::holds_alternative<RescueMap>(parsed) || !device) return nullptr;
    const std::vector<SectorRange> unrescued = UnrescuedSectors(std::get<RescueMap>(parsed), device->sizeBytes());
    auto reader = std::make_unique<DeviceSectorReader>(std::make_unique<RescuedDevice>(std::move(device), unrescued), kRetries);
    for (const SectorRange& range : unrescued) reader->damageMap()->add(range.first, range.count);
    reader->damageMap()->setKnownInAdvance();
    return reader;
}

TEST(FaultyDisk, GnuDdrescueImagesTheFailingDiskAndItsMapGivesEachFileTheConditionOfTheDiskItself) {
    if (const std::string why = test::FaultyDiskUnavailable(); !why.empty()) GTEST_SKIP() << why;
    const Demo demo;
    const test::ScratchFolder scratch("faulty_disk_peer");
    const std::string image = scratch.file("demo.img");
    demo.image.writeTo(image);
    const std::vector<Row> rows = Rows(demo);
    FaultPlan plan = rows.at(1).plan;
    plan.unreadable.push_back(rows.at(2).plan.unreadable.at(0));
    test::FaultyDisk disk(image, plan, scratch.file("served"));
    ASSERT_TRUE(disk.ready()) << disk.why();
    const std::string rescued = scratch.file("rescued.img");
    const std::string map = scratch.file("rescued.map");
    // Direct reads through the loop device, so that the copier meets single sectors as the disk fails them.
    const std::string direct = disk.throughLoopDevice() ? "-d " : "";
    ASSERT_EQ(std::system(("ddrescue -q " + direct + "'" + disk.path() + "' '" + rescued + "' '" + map + "'").c_str()), 0);
    auto mapped = RescuedReader(rescued, map);
    ASSERT_TRUE(mapped);
    std::vector<SectorRange> planned;
    for (const SectorArea& area : plan.unreadable) planned.push_back({area.start, area.count});
    std::sort(planned.begin(), planned.end(), [](auto& a, auto& b) { return a.first < b.first; });
    EXPECT_EQ(mapped->damageMap()->ranges(), planned);

    auto reader = KernelReader(disk);
    ASSERT_TRUE(reader);
    const test::DiskWalk fromDisk = test::WalkDisk(*reader, demo.healthyPools, demo.pool, demo.volume);
    const test::DiskWalk fromImage = test::WalkDisk(*mapped, demo.healthyPools, demo.pool, demo.volume);
    ExpectSameWalk(fromImage, fromDisk);
    ASSERT_EQ(fromImage.files.size(), fromDisk.files.size());
    for (size_t i = 0; i < fromDisk.files.size(); ++i) {
        EXPECT_EQ(fromImage.files[i].condition.kind, fromDisk.files[i].condition.kind) << fromDisk.files[i].record.name;
        EXPECT_EQ(fromImage.files[i].condition.unreadableRanges, fromDisk.files[i].condition.unreadableRanges);
        EXPECT_TRUE(fromImage.files[i].bytes == fromDisk.files[i].bytes) << fromDisk.files[i].record.name;
    }
    EXPECT_EQ(DamagedFiles(fromDisk), 1u);
}

}  // namespace
}  // namespace lumbra
