#pragma once
// The whole way of a user through one pool of a built disk, through any reader: the sector scan
// and the partition table, the volumes, the mount (volume based when the volume is listed, else
// pool based) and the recovery of every file found, each file's bytes and condition kept.
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "discovery/partition_scan.h"
#include "discovery/pool_listing.h"
#include "discovery/volume_discovery.h"
#include "expected_copy.h"
#include "memory_files.h"
#include "recovery/mount_events.h"
#include "recovery/recovery_run.h"
#include "recovery/volume_mount.h"

namespace lumbra::test {

struct WalkedFile {
    ItemRecord record;
    std::vector<uint8_t> bytes;
    FileCondition condition;
};

struct DiskWalk {
    bool scanFoundPool = false;
    bool tableListsPool = false;
    bool volumeListed = false;
    std::vector<WalkedFile> files;
};

// `healthyPools`: the pools of the healthy disk, taken when damage hides the built pool. The
// scan covers the built pool's partition headers.
inline DiskWalk WalkDisk(SectorReader& reader, const PoolTable& healthyPools, const BuiltPool& built,
                         const BuiltVolume& volume) {
    DiskWalk walk;
    std::atomic<int32_t> stop{0};
    PoolTable scanned;
    ScanEvents scanEvents;
    ScanRange range{UINT32_MAX, 0};
    for (const BuiltSegment& segment : built.segments) {
        range.startSector = std::min<uint32_t>(range.startSector, static_cast<uint32_t>(segment.headerSector));
        range.endSector = std::max<uint32_t>(range.endSector, static_cast<uint32_t>(segment.headerSector) + 1);
    }
    ScanForPartitions(reader, range, kMaxSectorsPerRead, stop, scanned, scanEvents);
    std::optional<SelectedPool> pool = BuiltPoolIn(scanned, built);
    walk.scanFoundPool = pool.has_value();
    PoolTable listed;
    ListPoolsFromPartitionTable(reader, listed);
    if (auto fromTable = BuiltPoolIn(listed, built)) {
        walk.tableListsPool = true;
        pool = fromTable;
    }
    if (!pool) pool = BuiltPoolIn(healthyPools, built);
    if (!pool) return walk;

    ObjectTree objects;
    VolumeTable volumes;
    BlockQueue queue;
    DiscoverVolumes(reader, *pool, RecoveryMode::VolumeBased, objects, volumes, queue);
    for (const VolumeEntry& entry : volumes.volumes()) walk.volumeListed |= entry.name == volume.expectedName;
    RecoveredTree tree;
    NoMountEvents events;
    MountContext mount{reader, *pool, queue, tree, events, stop};
    if (walk.volumeListed) MountVolume(mount, {.recoveryMode = 1, .rootSector = volume.rootSector});
    else MountVolume(mount, {.recoveryMode = 2, .rootSector = 0});

    MemoryFiles files;
    SavingFlags flags;
    const std::vector<std::string> filters;
    for (size_t index = 0; index < tree.files().size(); ++index) {
        const ItemRecord& record = tree.files()[index];
        files.files.clear();
        CopyContext copy{reader, *pool, files, flags, filters};
        RunRecovery(copy, tree, {.fileIndexes = {index}}, "/walk", {.writeReport = false});
        WalkedFile walked{record, files.files.empty() ? std::vector<uint8_t>{} : files.files.begin()->second,
                          ConditionOfFile(reader, *pool, record, true)};
        walk.files.push_back(std::move(walked));
    }
    return walk;
}

}  // namespace lumbra::test
