#pragma once
// The mount: fills the recovered tree from the B-tree of the selected volume (volume based) or
// from every leaf block of the pool (pool based), then runs the lost-data search. Runs on a
// worker thread; the front end builds the tree and the list when it returns (FinishMount).
#include <cstdint>

#include "recovery/mount_context.h"

namespace lumbra {

struct MountRequest {
    // 1: Volume Based, any other value: Pool Based.
    uint16_t recoveryMode = 1;
    // Volume based: the disk sector of the selected volume's root block, already mapped.
    uint64_t rootSector = 0;
};

// How a mount ended. A stopped mount still holds what it found; after a memory failure the
// tree is not whole and is not to be shown.
struct MountOutcome {
    // A stop ended the walk, the scan or the lost-data search early.
    bool stopped = false;
    MemoryFailure memoryFailure = MemoryFailure::None;
};

// Clears the records and the block queue, walks or scans until done or stopped, clears the
// stop flag and searches lost folders, so that a stopped mount still shows what it found; the
// outcome keeps that it was stopped. A failed allocation ends the mount at once.
MountOutcome MountVolume(MountContext& context, const MountRequest& request);

// The breadth-first walk of a volume's B-tree from its root block.
void WalkVolumeTree(MountContext& context, uint64_t rootSector);

// Reads the first sector of every block of the pool and parses every leaf met. Pool sectors
// that the pool mapping cannot place, or that lie past the end of the disk, are passed over.
void ScanPoolForLeaves(MountContext& context);

}  // namespace lumbra
