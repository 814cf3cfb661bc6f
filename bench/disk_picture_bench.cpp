// The disk picture of the 1,000,000-file scale volume: the layout of the disk (pools, metadata,
// every file's runs), its binning into the bar and the pool grid, and the interval index, set
// against the volume-based mount of the same volume. Prints layout / mount (target at most 0.3)
// and fails above it.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "discovery/pool_listing.h"
#include "disk/device_sector_reader.h"
#include "picture/disk_facts.h"
#include "picture/disk_layout_index.h"
#include "recovery/volume_mount.h"
#include "scale_volume.h"

namespace {

using namespace lumbra;

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Mounted {
    BlockQueue queue;
    RecoveredTree tree;
    double seconds = 0;
};

void Mount(SectorReader& reader, const SelectedPool& pool, uint64_t rootSector, Mounted& mounted) {
    NoMountEvents events;
    std::atomic<int32_t> stop{0};
    const double start = ThreadSeconds();
    MountContext context{reader, pool, mounted.queue, mounted.tree, events, stop};
    MountVolume(context, {.recoveryMode = 1, .rootSector = rootSector});
    mounted.seconds = ThreadSeconds() - start;
}

// The layout as the front ends make it: the picture, the bar and grid, and the index.
double Layout(const DiskFacts& facts, size_t& hits) {
    const double start = ThreadSeconds();
    const DiskPicture picture = LayDiskOut(facts);
    const auto bar = picture.cells(0, picture.diskSectors(), 192);
    const auto [first, end] = picture.selectedPoolArea();
    const auto grid = picture.cells(first, end, 4096);
    const DiskLayoutIndex index(picture);
    const double seconds = ThreadSeconds() - start;
    hits = index.at(grid[grid.size() / 2].first, grid[grid.size() / 2].count).size() + bar.size();
    return seconds;
}

}  // namespace

int main() {
    // Freed heap stays with the process, so that the best rounds compare the work of the mount
    // and of the layout, not the kernel's page faults.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    const test::NssImage image =
        test::NssImageBuilder().pool({.name = "BENCH", .volumes = {bench::ScaleVolume(1'000'000)}}).build();
    DeviceSectorReader reader(image.device());
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    const SelectedPool pool = *SelectPool(pools, 0);
    const uint64_t rootSector = image.pools().at(0).volumes.at(0).rootSector;

    constexpr int kRounds = 5;
    double mountSeconds = 0;
    double layoutSeconds = 0;
    size_t files = 0;
    size_t hits = 0;
    // Rounds alternate, so that a change in the machine's load touches both measures.
    for (int round = 0; round < kRounds; ++round) {
        Mounted mounted;
        Mount(reader, pool, rootSector, mounted);
        DiskFacts facts;
        facts.diskSectors = image.sectorCount();
        facts.pools = {pool};
        facts.selectedPool = 0;
        for (size_t i = 0; i < mounted.queue.size(); ++i) facts.volumeTreeBlocks.push_back(mounted.queue[i]);
        facts.tree = &mounted.tree;
        // The reads of the mounts as the front ends pass them: the damage and the sectors read.
        facts.damage = reader.damageMap();
        facts.coverage = reader.readCoverage();
        const double layout = Layout(facts, hits);
        files = mounted.tree.files().size();
        mountSeconds = round == 0 ? mounted.seconds : std::min(mountSeconds, mounted.seconds);
        layoutSeconds = round == 0 ? layout : std::min(layoutSeconds, layout);
    }
    const double ratio = layoutSeconds / mountSeconds;
    std::printf("%zu files: mount %.3f s, picture layout with cells and index %.3f s of CPU (best of %d); "
                "%zu items in the middle grid cell and the bar\n",
                files, mountSeconds, layoutSeconds, kRounds, hits);
    std::printf("layout / mount = %.3f (target <= 0.3)\n", ratio);
    return ratio <= 0.3 ? 0 : 1;
}
