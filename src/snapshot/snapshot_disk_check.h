#pragma once
// A snapshot names its disk only by a drive row, and rows change between runs (another order of
// images, a loop device that comes and goes). Before a snapshot's records are used, the disk in
// that row is read back where the snapshot relies on it: the pool's partition header (its
// name), the superblock at superblockSector and the object tree root, and the selected volume.
#include <string>

#include "disk/sector_reader.h"
#include "snapshot/snapshot_state.h"

namespace lumbra {

// True when the disk carries the snapshot's pool and selected volume where the snapshot says.
bool SnapshotFitsDisk(SectorReader& reader, const SnapshotState& state);

// "snapshot S was made from another disk than drive N (PATH); name the right one with --drive"
std::string SnapshotFromAnotherDiskText(const std::string& snapshot, size_t row, const std::string& drivePath);

}  // namespace lumbra
