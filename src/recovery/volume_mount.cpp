#include "recovery/volume_mount.h"

#include <algorithm>
#include <array>
#include <string>

#include "discovery/pool_mapping.h"
#include "disk/sector.h"
#include "recovery/leaf_block_parser.h"
#include "recovery/leaf_records.h"
#include "recovery/lost_folders.h"

namespace lumbra {
namespace {

using BlockBuffer = std::array<uint8_t, kBlockSize>;

bool HasMagic(ByteView block, std::string_view magic) {
    return bytesEqual(block, btree_block::kMagicOffset, magic);
}

// Queues the children of a branch block; the list ends at a zero entry or at a child the
// mapping cannot place. Returns how many were appended.
uint64_t QueueChildren(MountContext& context, ByteView block) {
    uint64_t appended = 0;
    for (size_t entry = btree_block::kFirstChildOffset; entry < btree_block::kLastByte;
         entry += btree_block::kChildEntrySize) {
        auto child = le32(block, entry);
        if (!child || *child == 0) break;
        auto sector = PoolBlockToDiskSector(context.pool, *child);
        if (!sector) break;
        if (context.blockQueue.append(*sector)) ++appended;
    }
    return appended;
}

void ReportScanPosition(MountContext& context, uint64_t poolSector, uint32_t total,
                        std::optional<uint64_t> diskSector) {
    context.events.statusLine("Sector " + std::to_string(poolSector) + " Of " + std::to_string(total));
    if (diskSector) context.events.currentSector(*diskSector);
    context.events.progress(static_cast<uint32_t>(std::min<uint64_t>(poolSector * 100 / total, 99)));
}

}  // namespace

void WalkVolumeTree(MountContext& context, uint64_t rootSector) {
    BlockBuffer block{};
    context.blockQueue.append(rootSector);
    uint64_t denominator = 44;
    uint64_t accumulator = 0;
    for (size_t i = 0; i < context.blockQueue.size() && !context.stopped(); ++i) {
        uint64_t sector = context.blockQueue[i];
        context.events.currentSector(sector);
        block.fill(0);
        context.reader.ReadSectors(sector, kSectorsPerBlock, block.data());
        if (HasMagic(block, "BRCH")) {
            denominator += QueueChildren(context, block);
        } else if (HasMagic(block, "LEAF")) {
            ParseLeafBlock(context, block, true);
            accumulator += 100;
            context.events.progress(static_cast<uint32_t>(std::min<uint64_t>(accumulator / denominator, 100)));
        }
    }
}

void ScanPoolForLeaves(MountContext& context) {
    constexpr uint64_t kReportEvery = 124 * uint64_t{kSectorsPerBlock};
    const uint32_t total = context.pool.poolSize;
    BlockBuffer block{};
    for (uint64_t s = 0; s < total && !context.stopped(); s += kSectorsPerBlock) {
        auto disk = PoolToDiskSector(context.pool, s);
        if (disk) {
            block.fill(0);
            context.reader.ReadSectors(*disk, 1, block.data());
            if (HasMagic(block, "LEAF")) {
                context.reader.ReadSectors(*disk, kSectorsPerBlock, block.data());
                ParseLeafBlock(context, block, false);
            }
        }
        if (s % kReportEvery == 0) ReportScanPosition(context, s, total, disk);
    }
}

void MountVolume(MountContext& context, const MountRequest& request) {
    context.tree.ClearRecords();
    context.blockQueue.clear();
    if (request.recoveryMode == 1)
        WalkVolumeTree(context, request.rootSector);
    else
        ScanPoolForLeaves(context);
    context.stopRequested.store(0);
    SearchLostFolders(context.tree, context.events, context.stopRequested);
}

}  // namespace lumbra
