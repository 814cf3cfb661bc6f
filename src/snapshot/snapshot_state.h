#pragma once
// What a recovery snapshot stores besides the two record lists: the drive row, the selected
// pool's layout, where its object tree was found, the volume list and the selection.
#include <cstdint>
#include <vector>

#include "discovery/pool_table.h"
#include "discovery/volume_table.h"
#include "recovery/record_lists.h"
#include "recovery/sha256_digest.h"

namespace lumbra {

// One block of the tree the records were read from: where it lies and the digest of its bytes.
struct TreeBlockDigest {
    uint64_t diskSector = 0;  // the block's first sector, read through the pool mapping
    Sha256Value digest{};
    bool operator==(const TreeBlockDigest&) const = default;
};

struct SnapshotState {
    uint16_t selectedDrive = 0;  // row of this run's drive table
    SelectedPool pool;
    ObjectTree objectTree;       // superblockSector and the object tree's rootSector
    VolumeTable volumes;
    uint16_t selectedPool = 0;
    uint32_t selectedVolume = 0;
    // Kept after the records (older snapshots have neither): the volume's root block and a
    // sample of the leaves, so that a disk set up alike but holding other data is told apart,
    // and whether the mount was stopped before it ended.
    std::vector<TreeBlockDigest> treeSample;
    bool partial = false;
};

// A snapshot as a load restores it: the records after the loader's own admission rule.
struct LoadedSnapshot {
    SnapshotState state;
    RecoveredTree records;
};

}  // namespace lumbra
