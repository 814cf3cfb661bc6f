#include "recovery/volume_mount.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "discovery/object_tree.h"
#include "discovery/pool_mapping.h"
#include "discovery/sector_io.h"
#include "recovery/leaf_block_parser.h"
#include "recovery/lost_folders.h"

namespace lumbra {
namespace {

// Queues the children of a branch block; the list ends at a zero entry or at a child the
// mapping cannot place. Returns how many were appended.
uint64_t QueueChildren(MountContext& context, ByteView block) {
    uint64_t appended = 0;
    for (uint32_t child : ParseBranchNode(block).children) {
        auto sector = PoolBlockToDiskSector(context.pool, child);
        if (!sector) break;
        if (QueueBlock(context, *sector)) ++appended;
    }
    return appended;
}

void ReportScanPosition(MountContext& context, uint64_t poolSector, uint32_t total,
                        std::optional<uint64_t> diskSector) {
    context.events.statusLine("Sector " + std::to_string(poolSector) + " Of " + std::to_string(total));
    if (diskSector) context.events.currentSector(*diskSector);
    context.events.progress(static_cast<uint32_t>(std::min<uint64_t>(poolSector * 100 / total, 99)));
}

// Reads the first sector of a pool block and, when it begins a leaf, the whole block. A first
// sector that cannot be read may have begun a leaf: it counts as unreadable metadata, as the
// leaf's own sectors do. The leaves read are queued, as the walk of the tree queues its blocks.
void ScanBlock(MountContext& context, uint64_t diskSector, BlockBytes& block) {
    block.fill(0);
    context.reader.ReadSectors(diskSector, 1, block.data());
    NoteMetadataRead(context.reader, diskSector, 1);
    if (ParseNodeKind(block) != NodeKind::Leaf) return;
    block = ReadPoolBlockAt(context.reader, context.pool, diskSector);
    QueueBlock(context, diskSector);
    ParseLeafBlock(context, block, false);
}

}  // namespace

void WalkVolumeTree(MountContext& context, uint64_t rootSector) {
    QueueBlock(context, rootSector);
    uint64_t denominator = 44;
    uint64_t accumulator = 0;
    for (size_t i = 0; i < context.blockQueue.size() && !context.stopped(); ++i) {
        uint64_t sector = context.blockQueue[i];
        context.events.currentSector(sector);
        BlockBytes block = ReadPoolBlockAt(context.reader, context.pool, sector);
        NodeKind kind = ParseNodeKind(block);
        if (kind == NodeKind::Branch) {
            denominator += QueueChildren(context, block);
        } else if (kind == NodeKind::Leaf) {
            ParseLeafBlock(context, block, true);
            accumulator += 100;
            context.events.progress(static_cast<uint32_t>(std::min<uint64_t>(accumulator / denominator, 100)));
        }
    }
}

void ScanPoolForLeaves(MountContext& context) {
    constexpr uint64_t kReportEvery = 124 * uint64_t{kSectorsPerBlock};
    const uint32_t total = context.pool.poolSize;
    const uint64_t diskEnd = context.reader.sectorCount().value_or(UINT64_MAX);
    BlockBytes block{};
    for (uint64_t s = 0; s < total && !context.stopped();) {
        const auto run = MapPoolRun(context.pool, s);
        const bool onDisk = run && run->diskSector < diskEnd;
        if (onDisk) ScanBlock(context, run->diskSector, block);
        if (s % kReportEvery == 0)
            ReportScanPosition(context, s, total, onDisk ? std::optional(run->diskSector) : std::nullopt);
        // Nothing maps past the last segment, and nothing of a run that starts past the end
        // of the disk can be read: both are passed over at once.
        if (!run) break;
        s += onDisk ? kSectorsPerBlock : (run->sectors + kSectorsPerBlock - 1) / kSectorsPerBlock * kSectorsPerBlock;
    }
}

MountOutcome MountVolume(MountContext& context, const MountRequest& request) {
    context.memoryFailure = MemoryFailure::None;
    MountOutcome outcome;
    try {
        context.tree.ClearRecords();
        context.blockQueue.clear();
        if (request.recoveryMode == 1)
            WalkVolumeTree(context, request.rootSector);
        else
            ScanPoolForLeaves(context);
        outcome.memoryFailure = context.memoryFailure;
        if (outcome.memoryFailure != MemoryFailure::None) return outcome;
        // Taken and cleared in one step, so that a stop arriving now is not lost.
        outcome.stopped = context.stopRequested.exchange(0) != 0;
        SearchLostFolders(context.tree, context.events, context.stopRequested);
        outcome.stopped = outcome.stopped || context.stopRequested.load() != 0;
    } catch (const std::bad_alloc&) {
        // Every allocation of the walk but the queue's belongs to a record.
        outcome.memoryFailure = MemoryFailure::Record;
    }
    return outcome;
}

}  // namespace lumbra
