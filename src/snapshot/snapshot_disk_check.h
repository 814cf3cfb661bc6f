#pragma once
// A snapshot names its disk only by a drive row, and rows change between runs (another order of
// images, a loop device that comes and goes). Before a snapshot's records are used, the disk in
// that row is read back where the snapshot relies on it: the pool's partition header (its name
// and size), the superblock at superblockSector and the object tree root, the selected volume,
// and the tree blocks the snapshot keeps digests of. A place that cannot be read is not held
// against the disk: it is named as not checked.
#include <string>
#include <vector>

#include "disk/sector_reader.h"
#include "snapshot/snapshot_state.h"

namespace lumbra {

struct SnapshotDiskCheck {
    bool fits = false;                   // nothing read differs from the snapshot
    std::vector<std::string> unchecked;  // places that could not be read, as "the superblock (sector 2081)"
    bool withoutTreeSample = false;      // an older snapshot: no tree block digests to compare
};

SnapshotDiskCheck CheckSnapshotDisk(SectorReader& reader, const SnapshotState& state);

// "snapshot S was made from another disk than drive N (PATH); name the right one with --drive"
std::string SnapshotFromAnotherDiskText(const std::string& snapshot, size_t row, const std::string& drivePath);

// The warnings of a check that let the snapshot load, one line each (none when all was compared).
std::vector<std::string> SnapshotCheckWarnings(const SnapshotDiskCheck& check, const std::string& snapshot, size_t row,
                                               const std::string& drivePath);

}  // namespace lumbra
