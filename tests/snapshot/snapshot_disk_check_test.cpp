// A snapshot is checked against the disk it is to be used with: a disk set up alike but holding
// other files is another disk, and a place the disk cannot read is named, not held against it.
#include <gtest/gtest.h>

#include <functional>

#include "discovery/volume_discovery.h"
#include "recovery/mounted_image.h"
#include "snapshot/snapshot_disk_check.h"
#include "snapshot/snapshot_tree_sample.h"

namespace lumbra {
namespace {

using test::MountedImage;
using test::VolumePlan;

struct DiskVariant {
    uint64_t notesSize = 3000;
    uint32_t extent = 16384;
};

// Two disks of this shape share pool and volume names and partitioning; the variant sets what
// differs.
test::NssImage Disk(const DiskVariant& variant) {
    VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Documents");
    for (int i = 0; i < 60; ++i) volume.addFile("Report " + std::to_string(i) + ".doc", docs, 12345);
    volume.addFile("Notes.txt", 0, variant.notesSize);
    return test::NssImageBuilder()
        .pool({.name = "ALPHA", .segments = {{.extent = variant.extent}}, .volumes = {volume}})
        .build();
}

// What a snapshot of the first volume holds after a volume-based mount.
SnapshotState Saved(MountedImage& mounted) {
    SnapshotState state;
    state.pool = mounted.pool;
    BlockQueue queue;
    DiscoverVolumes(mounted.reader, mounted.pool, RecoveryMode::VolumeBased, state.objectTree, state.volumes, queue);
    EXPECT_FALSE(mounted.MountVolumeBased().stopped);
    std::vector<uint64_t> blocksRead;
    for (size_t i = 0; i < mounted.queue.size(); ++i) blocksRead.push_back(mounted.queue[i]);
    state.treeSample = SampleTreeBlocks(mounted.reader, mounted.pool, state.volumes[0].rootSector, blocksRead);
    return state;
}

TEST(SnapshotDiskCheck, TellsDisksApartByWhatTheyHoldAndNamesWhatCouldNotBeRead) {
    MountedImage original(Disk({}));
    const SnapshotState saved = Saved(original);
    ASSERT_GT(saved.treeSample.size(), 2u);
    ASSERT_LE(saved.treeSample.size(), kTreeSampleBlocks);
    const test::BuiltPool& pool = original.builtPool();
    const uint64_t infoSector = pool.segments[0].headerSector + 29;
    using Unreadable = std::function<std::set<uint64_t>()>;
    const struct {
        const char* name;
        DiskVariant disk;
        bool oldSnapshot;
        Unreadable unreadable;
        bool fits;
        std::string unchecked;  // the one place named as not checked, or empty
    } cases[] = {
        {"the same disk", {}, false, {}, true, ""},
        {"a file one byte longer", {.notesSize = 3001}, false, {}, false, ""},
        {"a larger pool", {.extent = 16384 + 64}, false, {}, false, ""},
        {"an older snapshot on an alike disk", {.notesSize = 3001}, true, {}, true, ""},
        {"unreadable pool information", {}, false, [&] { return std::set<uint64_t>{infoSector}; }, true,
         "the pool information (sector " + std::to_string(infoSector) + ")"},
        {"unreadable superblock", {}, false, [&] { return std::set<uint64_t>{pool.superblockSector}; }, true,
         "the superblock (sector " + std::to_string(pool.superblockSector) + ")"},
        {"unreadable object tree root", {}, false, [&] { return std::set<uint64_t>{pool.treeRootSector}; }, true,
         "the object tree, which lists the volumes (sector " + std::to_string(pool.treeRootSector) + ")"},
        {"unreadable volume root", {}, false,
         [&] { return std::set<uint64_t>{saved.treeSample[0].diskSector + 3}; }, true,
         "a block of the volume's tree (sector " + std::to_string(saved.treeSample[0].diskSector) + ")"},
        {"an alike disk with an unreadable volume root", {.notesSize = 3001}, false,
         [&] { return std::set<uint64_t>{saved.treeSample[0].diskSector}; }, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MountedImage other(Disk(c.disk), c.unreadable ? c.unreadable() : std::set<uint64_t>{});
        SnapshotState state = saved;
        if (c.oldSnapshot) state.treeSample.clear();
        const SnapshotDiskCheck check = CheckSnapshotDisk(other.reader, state);
        EXPECT_EQ(check.fits, c.fits);
        EXPECT_EQ(check.withoutTreeSample, c.oldSnapshot);
        if (!c.fits) continue;
        EXPECT_EQ(check.unchecked, c.unchecked.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.unchecked});
    }
}

TEST(SnapshotDiskCheck, WarnsOfWhatWasNotComparedInOneLineEach) {
    SnapshotDiskCheck check{.fits = true, .unchecked = {"the superblock (sector 2088)", "a block (sector 9)"},
                            .withoutTreeSample = true};
    EXPECT_EQ(SnapshotCheckWarnings(check, "S.QVDX", 1, "/tmp/d.img"),
              (std::vector<std::string>{
                  "snapshot S.QVDX could not be checked against drive 1 (/tmp/d.img) where the disk cannot be read: "
                  "the superblock (sector 2088), a block (sector 9)",
                  "snapshot S.QVDX was saved without digests of its tree blocks (an older snapshot); drive 1 "
                  "(/tmp/d.img) was checked by its pool, superblock and volume only"}));
    EXPECT_TRUE(SnapshotCheckWarnings({.fits = true}, "S", 0, "p").empty());
}

}  // namespace
}  // namespace lumbra
