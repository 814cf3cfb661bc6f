#include "snapshot/snapshot_disk_check.h"

#include <optional>
#include <vector>

#include "discovery/partition_header.h"
#include "discovery/segment_header.h"
#include "discovery/sector_io.h"
#include "discovery/volume_discovery.h"

namespace lumbra {
namespace {

// The pool name of the partition header whose data begins at dataStart, the nearest first;
// nullopt when no header within the window leads there.
std::optional<std::string> PoolNameAt(SectorReader& reader, uint64_t dataStart) {
    for (uint64_t header : HeadersLeadingTo(reader, dataStart)) {
        const auto info = ParsePoolInformation(ReadOneSector(reader, header + pool_information::kSectorOffset));
        if (info) return info->name;
    }
    return std::nullopt;
}

// The object tree is found again where the snapshot found it, and lists the selected volume
// with its name and root. A pool-based snapshot lists the pool itself, rooted at the tree root.
bool SelectedVolumeFound(SectorReader& reader, const SnapshotState& state) {
    ObjectTree tree;
    VolumeTable volumes;
    BlockQueue queue;
    const bool poolItself = state.volumes.count() == 1 && state.volumes[0].name == state.pool.name &&
                            state.volumes[0].rootSector == state.objectTree.rootSector;
    DiscoverVolumes(reader, state.pool, poolItself ? RecoveryMode::PoolBased : RecoveryMode::VolumeBased, tree,
                    volumes, queue);
    if (tree.superblockSector != state.objectTree.superblockSector || tree.rootSector != state.objectTree.rootSector)
        return false;
    if (state.selectedVolume >= state.volumes.count()) return true;
    const VolumeEntry& chosen = state.volumes[state.selectedVolume];
    for (const VolumeEntry& volume : volumes.volumes())
        if (volume.name == chosen.name && volume.rootSector == chosen.rootSector) return true;
    return false;
}

}  // namespace

bool SnapshotFitsDisk(SectorReader& reader, const SnapshotState& state) {
    if (state.pool.segmentCount == 0 || state.pool.segmentStart.empty()) return false;
    const auto name = PoolNameAt(reader, state.pool.segmentStart[0]);
    if (name && *name != state.pool.name) return false;
    return SelectedVolumeFound(reader, state);
}

std::string SnapshotFromAnotherDiskText(const std::string& snapshot, size_t row, const std::string& drivePath) {
    return "snapshot " + snapshot + " was made from another disk than drive " + std::to_string(row) + " (" +
           drivePath + "); name the right one with --drive";
}

}  // namespace lumbra
