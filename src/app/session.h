#pragma once
// The records of one run, with one owner: created once by main (and by each test) and passed
// by reference to the wizard and the windows.
#include <memory>
#include <string>
#include <unordered_set>

#include "app/file_filter_list.h"
#include "app/live_disk_facts.h"
#include "app/recovery_settings.h"
#include "app/wizard_state.h"
#include "discovery/pool_table.h"
#include "discovery/scan_state_store.h"
#include "discovery/volume_table.h"
#include "disk/disk_access.h"
#include "disk/sector_reader.h"
#include "recovery/record_lists.h"
#include "recovery/run_inputs.h"
#include "recovery/saving_observer.h"
#include "snapshot/snapshot_state.h"

namespace lumbra {

struct Session {
    explicit Session(AccessMode mode) : disk(mode) { settings.SetDefaults(mode); }

    DiskAccess disk;                 // accessMode and DriveTable
    std::string applicationDirectory;
    // The folder of the running program (ends with a separator), where its installed files are
    // found wherever it was started from.
    std::string programDirectory;
    WizardState wizard;
    RecoverySettings settings;
    FileFilterList filters;
    PoolTable pools;
    // Where sector scans keep their place, so that a stopped one can go on.
    ScanStateStore scanStates{ScanStateStore::DefaultFolder()};
    SelectedPool selectedPool;
    ObjectTree objectTree;
    VolumeTable volumes;
    BlockQueue blockQueue;
    RecoveredTree records;
    // Of the tree in records (from the mount or the loaded snapshot): digests of some of its
    // blocks, which a snapshot keeps to know its disk again, and whether a stop cut it short.
    std::vector<TreeBlockDigest> treeSample;
    bool treePartial = false;
    // What this run reads (the drive rows, rescue maps, a loaded snapshot): no output is written
    // over them.
    RunInputs inputs;
    // Where sysfs is, to tell whether a destination lies on the disk being recovered.
    std::string sysRoot = "/sys";
    // The skip and stop flags of the saving, cleared by every browse action that may open a file.
    SavingFlags savingFlags;
    // The open drive of the discovery steps; null before the first Next and after Back to
    // the disk step.
    std::unique_ptr<SectorReader> reader;
    // What the running scan or mount has learned, for the disk map.
    LiveDiskFacts live;
    // Item numbers of the files a recovery run of this session wrote: their condition is known.
    // Touched on the user-interface thread only.
    std::unordered_set<uint64_t> filesRead;
};

}  // namespace lumbra
