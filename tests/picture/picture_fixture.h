#pragma once
// A built disk, its pools found through the partition table, one of them mounted, and the
// facts of its picture gathered as the command line gathers them.
#include <memory>

#include "discovery/pool_listing.h"
#include "picture/disk_facts.h"
#include "picture/header_areas.h"
#include "recovery/mounted_image.h"

namespace lumbra::test {

inline DiskFacts DriveFacts(const NssImage& image) {
    auto reader = image.reader();
    DiskFacts facts;
    facts.diskSectors = image.sectorCount();
    facts.partitionTable = !PartitionTableStarts(*reader).empty();
    PoolTable pools;
    ListPoolsFromPartitionTable(*reader, pools);
    for (uint32_t row = 0; row < pools.count(); ++row) facts.pools.push_back(*SelectPool(pools, row));
    facts.headerAreas = DiskHeaderAreas(*reader, facts.pools);
    return facts;
}

// Pool 0 selected, its first volume mounted volume based.
struct PictureFixture {
    explicit PictureFixture(NssImage image) : mounted(std::move(image)) {
        mounted.MountVolumeBased();
        facts = DriveFacts(mounted.image);
        facts.selectedPool = 0;
        facts.superblockSector = mounted.builtPool().superblockSector;
        facts.volumeRoot = mounted.builtVolume().rootSector;
        for (size_t i = 0; i < mounted.queue.size(); ++i) facts.volumeTreeBlocks.push_back(mounted.queue[i]);
        facts.tree = &mounted.tree;
    }
    MountedImage mounted;
    DiskFacts facts;
};

// Disk sector of sector s of a file's data, read as the mount's record places it: consecutive
// pool blocks from its first block, through the builder's own mapping.
inline uint64_t FileDiskSector(const BuiltPool& pool, const ItemRecord& file, uint64_t s) {
    return *pool.toDiskSector(file.firstBlock * 8 + s);
}

// The index of the cell that holds `sector`; cells.size() when none does.
inline size_t CellOf(const std::vector<PictureCell>& cells, uint64_t sector) {
    for (size_t i = 0; i < cells.size(); ++i)
        if (sector >= cells[i].first && sector < cells[i].first + cells[i].count) return i;
    return cells.size();
}

}  // namespace lumbra::test
