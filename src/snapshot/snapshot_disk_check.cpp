#include "snapshot/snapshot_disk_check.h"

#include <optional>
#include <vector>

#include "discovery/partition_header.h"
#include "discovery/segment_header.h"
#include "discovery/sector_io.h"
#include "discovery/volume_discovery.h"
#include "snapshot/snapshot_block_damage.h"
#include "snapshot/snapshot_tree_sample.h"

namespace lumbra {
namespace {

std::string Place(const std::string& what, uint64_t sector) { return what + " (sector " + std::to_string(sector) + ")"; }

// A pool size of 0, or one that runs a one-segment pool past the disk's end, is not what the
// pool listing keeps (it takes the partition's length then): such a size is not compared.
bool SizeUsable(const SectorReader& reader, const SnapshotState& state, const PoolInformation& info) {
    if (info.poolSize == 0) return false;
    const auto end = reader.sectorCount();
    return state.pool.segmentCount > 1 || !end || uint64_t{state.pool.segmentStart[0]} + info.poolSize <= *end;
}

// The partition header whose data begins at the pool's first segment, the nearest first: its
// pool name and size. Headers whose pool information cannot be read are named as not checked.
bool PoolInformationFits(SectorReader& reader, const SnapshotState& state, SnapshotDiskCheck& check) {
    const uint64_t dataStart = state.pool.segmentStart[0];
    const std::vector<uint64_t> headers = HeadersLeadingTo(reader, dataStart);
    if (headers.empty() && SectorsDamaged(reader, dataStart - std::min<uint64_t>(dataStart, kHeaderWindow),
                                          std::min<uint64_t>(dataStart, kHeaderWindow)))
        check.unchecked.push_back("the pool's partition header (before sector " + std::to_string(dataStart) + ")");
    for (uint64_t header : headers) {
        const uint64_t sector = header + pool_information::kSectorOffset;
        const auto info = ParsePoolInformation(ReadOneSector(reader, sector));
        if (SectorsDamaged(reader, sector, 1)) {
            check.unchecked.push_back(Place("the pool information", sector));
            continue;
        }
        if (info) return info->name == state.pool.name && (!SizeUsable(reader, state, *info) ||
                                                           info->poolSize == state.pool.poolSize);
    }
    return true;
}

// The object tree is found again where the snapshot found it, and lists the selected volume
// with its name and root. A pool-based snapshot lists the pool itself, rooted at the tree root.
bool SelectedVolumeFits(SectorReader& reader, const SnapshotState& state, SnapshotDiskCheck& check) {
    ObjectTree tree;
    VolumeTable volumes;
    BlockQueue queue;
    const bool poolItself = state.volumes.count() == 1 && state.volumes[0].name == state.pool.name &&
                            state.volumes[0].rootSector == state.objectTree.rootSector;
    DiscoverVolumes(reader, state.pool, poolItself ? RecoveryMode::PoolBased : RecoveryMode::VolumeBased, tree,
                    volumes, queue);
    if (tree.superblockSector != state.objectTree.superblockSector) return false;
    if (SectorsDamaged(reader, tree.superblockSector, 1)) {
        check.unchecked.push_back(Place("the superblock", tree.superblockSector));
        return true;
    }
    if (tree.rootSector != state.objectTree.rootSector) return false;
    if (state.selectedVolume >= state.volumes.count()) return true;
    const VolumeEntry& chosen = state.volumes[state.selectedVolume];
    for (const VolumeEntry& volume : volumes.volumes())
        if (volume.name == chosen.name && volume.rootSector == chosen.rootSector) return true;
    for (size_t i = 0; i < queue.size(); ++i) {
        if (BlockDamaged(reader, state.pool, queue[i])) {
            check.unchecked.push_back(Place("the object tree, which lists the volumes", tree.rootSector));
            return true;
        }
    }
    return false;
}

bool TreeSampleFits(SectorReader& reader, const SnapshotState& state, SnapshotDiskCheck& check) {
    check.withoutTreeSample = state.treeSample.empty();
    for (const TreeBlockDigest& block : state.treeSample) {
        const auto digest = DigestTreeBlock(reader, state.pool, block.diskSector);
        if (!digest)
            check.unchecked.push_back(Place("a block of the volume's tree", block.diskSector));
        else if (*digest != block.digest)
            return false;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

}  // namespace

SnapshotDiskCheck CheckSnapshotDisk(SectorReader& reader, const SnapshotState& state) {
    SnapshotDiskCheck check;
    if (state.pool.segmentCount == 0 || state.pool.segmentStart.empty()) return check;
    check.fits = PoolInformationFits(reader, state, check) && SelectedVolumeFits(reader, state, check) &&
                 TreeSampleFits(reader, state, check);
    return check;
}

std::string SnapshotFromAnotherDiskText(const std::string& snapshot, size_t row, const std::string& drivePath) {
    return "snapshot " + snapshot + " was made from another disk than drive " + std::to_string(row) + " (" +
           drivePath + "); name the right one with --drive";
}

std::vector<std::string> SnapshotCheckWarnings(const SnapshotDiskCheck& check, const std::string& snapshot, size_t row,
                                               const std::string& drivePath) {
    std::vector<std::string> lines;
    const std::string drive = "drive " + std::to_string(row) + " (" + drivePath + ")";
    if (!check.unchecked.empty())
        lines.push_back("snapshot " + snapshot + " could not be checked against " + drive +
                        " where the disk cannot be read: " + Joined(check.unchecked));
    if (check.withoutTreeSample)
        lines.push_back("snapshot " + snapshot + " was saved without digests of its tree blocks (an older snapshot); " +
                        drive + " was checked by its pool, superblock and volume only");
    return lines;
}

}  // namespace lumbra
