#include "discovery/volume_discovery.h"

#include <new>

#include "discovery/object_tree.h"
#include "discovery/pool_mapping.h"
#include "discovery/sector_io.h"

namespace lumbra {
namespace {

// Queues the children of a branch; a child that cannot be mapped drops the rest.
void VisitBranch(ByteView block, const SelectedPool& pool, BlockQueue& queue) {
    for (uint32_t child : ParseBranchNode(block).children) {
        const auto sector = PoolBlockToDiskSector(pool, child);
        if (!sector) return;
        queue.append(*sector);
    }
}

void VisitLeaf(ByteView block, const SelectedPool& pool, VolumeTable& volumes, BlockQueue& queue) {
    for (const LeafRecord& record : ParseLeafNode(block).records) {
        if (record.kind == LeafRecord::Kind::Volume && volumes.full()) return;
        const auto sector = PoolBlockToDiskSector(pool, record.block);
        if (!sector) continue;
        if (record.kind == LeafRecord::Kind::Link)
            queue.append(*sector);
        else
            volumes.add(VolumeEntry{record.name, *sector, 0});
    }
}

// Walks the object tree from its root block, breadth first.
void WalkObjectTree(SectorReader& reader, const SelectedPool& pool, uint64_t root, VolumeTable& volumes,
                    BlockQueue& queue) {
    queue.append(root);
    for (size_t next = 0; next < queue.size(); ++next) {
        const BlockBytes block = ReadPoolBlockAt(reader, pool, queue[next]);
        const NodeKind kind = ParseNodeKind(block);
        if (kind == NodeKind::Branch) VisitBranch(block, pool, queue);
        if (kind == NodeKind::Leaf) VisitLeaf(block, pool, volumes, queue);
    }
}

void FindVolumes(SectorReader& reader, const SelectedPool& pool, RecoveryMode recoveryMode, ObjectTree& tree,
                 VolumeTable& volumes, BlockQueue& queue) {
    volumes.clear();
    queue.clear();
    tree = ObjectTree{};
    if (pool.segmentCount == 0 || pool.segmentStart.empty()) return;

    const uint64_t superblockSector = uint64_t{pool.segmentStart[0]} + pool_superblock::kSectorOffset;
    tree.superblockSector = static_cast<uint32_t>(superblockSector);
    const auto superblock = ParsePoolSuperblock(ReadOneSector(reader, superblockSector));
    if (!superblock) return;
    if (!superblock->magicOk && recoveryMode == RecoveryMode::VolumeBased) return;
    const auto root = PoolBlockToDiskSector(pool, superblock->rootBlock);
    if (!root) return;
    tree.rootSector = *root;

    if (recoveryMode != RecoveryMode::VolumeBased)
        volumes.add(VolumeEntry{pool.name, *root, 0});
    else
        WalkObjectTree(reader, pool, *root, volumes, queue);
}

}  // namespace

MemoryFailure DiscoverVolumes(SectorReader& reader, const SelectedPool& pool, RecoveryMode recoveryMode,
                              ObjectTree& tree, VolumeTable& volumes, BlockQueue& queue) {
    try {
        FindVolumes(reader, pool, recoveryMode, tree, volumes, queue);
    } catch (const std::bad_alloc&) {
        // The queue is what grows without bound here.
        return MemoryFailure::QueueEntry;
    }
    return MemoryFailure::None;
}

}  // namespace lumbra
