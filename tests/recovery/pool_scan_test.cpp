#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "disk/sector.h"
#include "recovery/mounted_image.h"
#include "support/numbered_name.h"

namespace lumbra {
namespace {

using test::BuildVolume;
using test::MountedImage;
using test::NssImage;
using test::NssImageBuilder;
using test::VolumePlan;

// (objectId, name) of every record, sorted: the scan meets leaves in disk order, not walk order.
std::vector<std::pair<uint64_t, std::string>> Sorted(const std::deque<ItemRecord>& records) {
    std::vector<std::pair<uint64_t, std::string>> items;
    for (const auto& record : records) items.emplace_back(record.objectId, record.name);
    std::sort(items.begin(), items.end());
    return items;
}

std::vector<std::pair<uint64_t, std::string>> Sorted(const std::vector<test::ExpectedItem>& items) {
    std::vector<std::pair<uint64_t, std::string>> result;
    for (const auto& item : items) result.emplace_back(item.objectId, item.name);
    std::sort(result.begin(), result.end());
    return result;
}

VolumePlan ManyFiles(int files) {
    VolumePlan volume{.name = "SCAN"};
    uint64_t folder = volume.addFolder("Folder");
    volume.folders.push_back({.id = 5000, .parent = 888, .name = "Orphan"});
    for (int i = 0; i < files; ++i) volume.addFile(test::NumberedName("F", i), i % 2 ? folder : 0, 5000);
    volume.tree.recordsPerLeaf = 8;
    return volume;
}

// The leaves the scan read are queued, as the walk of the tree queues its blocks, so that the
// disk's picture shows them: the volume's leaves, each once, and no block that is no leaf.
void ExpectEveryLeafQueued(const MountedImage& mounted) {
    std::set<uint64_t> queued;
    for (size_t i = 0; i < mounted.queue.size(); ++i) EXPECT_TRUE(queued.insert(mounted.queue[i]).second);
    for (const uint64_t block : mounted.builtVolume().leafBlocks)
        EXPECT_EQ(queued.count(*mounted.builtPool().toDiskSector(block * kSectorsPerBlock)), 1u) << block;
    EXPECT_LT(queued.size(), mounted.builtVolume().leafBlocks.size() + 8);  // and the object tree's few
}

TEST(PoolScan, FindsTheRecordsOfEveryLeafOfThePool) {
    MountedImage mounted(BuildVolume(ManyFiles(60)));
    mounted.MountPoolBased();
    auto expected = NssImage::expectedMount(mounted.builtVolume());
    EXPECT_EQ(Sorted(mounted.tree.folders()), Sorted(expected.folders));
    EXPECT_EQ(Sorted(mounted.tree.files()), Sorted(expected.files));
    ExpectEveryLeafQueued(mounted);
}

TEST(PoolScan, StatusLineAfterTheFirstBlockAndThenEvery124Blocks) {
    test::PoolPlan pool{.name = "WIDE", .volumes = {ManyFiles(10)}};
    pool.segments.push_back({.extent = 4000});
    MountedImage mounted(NssImageBuilder().pool(pool).build());
    const std::string total = std::to_string(mounted.pool.poolSize);
    ASSERT_GT(mounted.pool.poolSize, 2000u);
    mounted.MountPoolBased();
    const auto& status = mounted.events.status;
    ASSERT_GE(status.size(), 3u);
    EXPECT_EQ(status[0], "Sector 0 Of " + total);
    EXPECT_EQ(status[1], "Sector 992 Of " + total);
    EXPECT_EQ(status[2], "Sector 1984 Of " + total);
    EXPECT_EQ(status.back(), "Searching Lost Data ...");
    EXPECT_EQ(mounted.events.sectors.front(), mounted.builtPool().segments[0].dataStart);
}

TEST(PoolScan, LinkRecordsAreNotFollowed) {
    VolumePlan volume = ManyFiles(30);
    volume.tree.links = test::TreeLinks::LinkRecords;
    MountedImage mounted(BuildVolume(volume));
    mounted.MountPoolBased();
    EXPECT_EQ(mounted.tree.files().size(), 30u);
    ExpectEveryLeafQueued(mounted);
}

TEST(PoolScan, StopEndsTheScanButNotTheLostDataSearch) {
    MountedImage mounted(BuildVolume(ManyFiles(200)));
    mounted.events.onFileFound = [&](uint32_t count) {
        if (count == 20) mounted.stop = 1;
    };
    mounted.MountPoolBased();
    EXPECT_EQ(mounted.tree.files().size(), 20u);
    EXPECT_EQ(mounted.stop.load(), 0);
    EXPECT_EQ(mounted.events.status.back(), "Searching Lost Data ...");
}

// A pool whose recorded size runs past its last segment: the sectors past it have no place on
// the disk. Reading the disk sector of the same number instead would take in whatever lies
// there, here a copy of one of the volume's own leaves.
TEST(PoolScan, PoolSectorsBeyondTheLastSegmentAreNotRead) {
    constexpr uint32_t kExtent = 2048;
    VolumePlan volume = ManyFiles(12);
    test::PoolPlan pool{.name = "SPLIT", .volumes = {volume}};
    pool.segments.push_back({.headerSector = 100000, .extent = kExtent});
    pool.segments.push_back({.headerSector = 200000, .extent = kExtent});
    pool.segments[0].header.poolSizeField = 4 * kExtent;
    pool.segments[1].header.poolSizeField = 4 * kExtent;
    NssImage probe = NssImageBuilder().pool(pool).build();
    const auto& built = probe.pools().at(0);
    std::vector<uint8_t> leaf = probe.readPoolBlock(built, built.volumes.at(0).leafBlocks.at(0));
    const uint64_t strayPoolSector = 3 * kExtent;  // unmapped; this disk sector is free
    MountedImage mounted(NssImageBuilder().pool(pool).patch(strayPoolSector * 512, leaf).build());
    ASSERT_EQ(mounted.pool.segmentCount, 2u);
    ASSERT_EQ(mounted.pool.poolSize, 4 * kExtent);
    mounted.MountPoolBased();
    EXPECT_EQ(mounted.tree.files().size(), 12u);
}

// A pool whose recorded size runs far past the end of the disk: the part past the end is passed
// over at once, not visited block by block (the status line, shown every 124 blocks visited,
// never gets past the end of the disk).
TEST(PoolScan, APoolSizePastTheEndOfTheDiskIsPassedOverAtOnce) {
    test::PoolPlan pool{.name = "HUGE", .volumes = {ManyFiles(12)}};
    pool.segments.push_back({.headerSector = 2048});
    pool.segments[0].header.poolSizeField = 8'000'000;
    MountedImage mounted(NssImageBuilder().pool(pool).build());
    ASSERT_EQ(mounted.pool.poolSize, 8'000'000u);
    mounted.MountPoolBased();
    EXPECT_EQ(mounted.tree.files().size(), 12u);
    const auto& status = mounted.events.status;
    const auto last = std::find_if(status.rbegin(), status.rend(),
                                   [](const std::string& line) { return line.rfind("Sector ", 0) == 0; });
    ASSERT_NE(last, status.rend());
    EXPECT_LT(std::stoull(last->substr(7)), mounted.image.sectorCount());
}

}  // namespace
}  // namespace lumbra
