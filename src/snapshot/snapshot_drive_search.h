#pragma once
// Where a snapshot's disk is when its drive row holds another one: rows change between runs (a
// new USB disk, a loop device, images given in another order), the disk does not.
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "disk/disk_access.h"
#include "snapshot/snapshot_disk_check.h"

namespace lumbra {

struct SnapshotDriveFit {
    size_t row = 0;
    std::unique_ptr<SectorReader> reader;
    SnapshotDiskCheck check;
};

// The rows of the drive table but `skip` whose disk passes the snapshot's check, in row order. A
// disk that needs administrator rights is not opened: no question is asked for a disk the user
// did not choose.
std::vector<SnapshotDriveFit> FindSnapshotDisk(DiskAccess& disk, const SnapshotState& state, uint16_t badSectorRetries,
                                               std::optional<size_t> skip);

}  // namespace lumbra
