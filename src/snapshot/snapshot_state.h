#pragma once
// What a recovery snapshot stores besides the two record lists: the drive row, the selected
// pool's layout, where its object tree was found, the volume list and the selection.
#include <cstdint>

#include "discovery/pool_table.h"
#include "discovery/volume_table.h"
#include "recovery/record_lists.h"

namespace lumbra {

struct SnapshotState {
    uint16_t selectedDrive = 0;  // row of this run's drive table
    SelectedPool pool;
    ObjectTree objectTree;       // superblockSector and the object tree's rootSector
    VolumeTable volumes;
    uint16_t selectedPool = 0;
    uint32_t selectedVolume = 0;
};

// A snapshot as a load restores it: the records after the loader's own admission rule.
struct LoadedSnapshot {
    SnapshotState state;
    RecoveredTree records;
};

}  // namespace lumbra
