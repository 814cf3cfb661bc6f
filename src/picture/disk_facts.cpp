#include "picture/disk_facts.h"

#include <unordered_set>

#include "discovery/pool_mapping.h"
#include "disk/sector.h"
#include "recovery/file_condition.h"

namespace lumbra {

namespace {

// The disk sectors of a file's data, run by run, in file order.
template <typename Take>
void ForEachFileRun(const SelectedPool& pool, uint64_t diskSectors, const ItemRecord& file, Take&& take) {
    for (const DiskRun& run : LayFileOut(pool, diskSectors, file.firstBlock, file.size).runs) {
        const uint64_t first = run.diskOffset / kSectorSize;
        const uint64_t end = (run.diskOffset + run.length + kSectorSize - 1) / kSectorSize;
        if (end > first) take(SectorRange{first, end - first});
    }
}

// A metadata block, sector by sector through the pool's mapping, as it was read.
void AddBlock(DiskPicture& picture, const SelectedPool& pool, MetadataKind kind, uint64_t sector) {
    const BlockRuns block = BlockRunsAt(pool, sector);
    std::vector<SectorRange> runs;
    for (size_t i = 0; i < block.count; ++i) runs.push_back({block.runs[i].diskSector, block.runs[i].sectors});
    picture.addMetadata(kind, sector, runs);
}

}  // namespace

std::vector<SectorRange> FileSectorRuns(const SelectedPool& pool, uint64_t diskSectors, const ItemRecord& file) {
    std::vector<SectorRange> runs;
    ForEachFileRun(pool, diskSectors, file, [&](const SectorRange& run) { runs.push_back(run); });
    return runs;
}

std::vector<SectorRange> PoolAreas(const SelectedPool& pool) {
    std::vector<SectorRange> areas;
    uint64_t poolSector = 0;
    for (size_t step = 0; step < kMaxPoolAreas; ++step) {
        const auto run = MapPoolRun(pool, poolSector);
        if (!run) break;
        if (!areas.empty() && areas.back().end() == run->diskSector) areas.back().count += run->sectors;
        else areas.push_back({run->diskSector, run->sectors});
        poolSector += run->sectors;
    }
    return areas;
}

DiskPicture LayDiskOut(const DiskFacts& facts) {
    DiskPicture picture(facts.diskSectors);
    // Every listing reads sector 0 as the partition table: one that cannot be read counts as
    // the table the warning says was lost.
    if (facts.partitionTable || (facts.damage && facts.damage->touches(0, 1)))
        picture.add({0, 1, PictureKind::PartitionTable, 0});
    for (uint32_t i = 0; i < facts.headerAreas.size(); ++i)
        picture.add({facts.headerAreas[i].first, facts.headerAreas[i].count, PictureKind::PartitionHeader, i});
    for (uint32_t row = 0; row < facts.pools.size(); ++row) {
        picture.poolNames.push_back(facts.pools[row].name);
        for (const SectorRange& area : PoolAreas(facts.pools[row])) picture.add({area.first, area.count, PictureKind::Pool, row});
    }
    if (facts.selectedPool && *facts.selectedPool < facts.pools.size()) {
        picture.selectedPool = *facts.selectedPool;
        const SelectedPool& pool = facts.pools[*facts.selectedPool];
        // Each block once, as what it was first met as: a walk of the whole pool takes the
        // object tree's root for its volume's, and meets the object tree's leaves again.
        std::unordered_set<uint64_t> pictured;
        const auto add = [&](MetadataKind kind, uint64_t sector) {
            if (pictured.insert(sector).second) AddBlock(picture, pool, kind, sector);
        };
        if (facts.superblockSector) add(MetadataKind::Superblock, *facts.superblockSector);
        for (uint64_t block : facts.objectTreeBlocks) add(MetadataKind::ObjectTreeNode, block);
        bool rootMet = false;
        for (uint64_t block : facts.volumeTreeBlocks) {
            rootMet = rootMet || facts.volumeRoot == block;
            add(facts.volumeRoot == block ? MetadataKind::VolumeRoot : MetadataKind::VolumeTreeNode, block);
        }
        if (facts.volumeRoot && !rootMet) add(MetadataKind::VolumeRoot, *facts.volumeRoot);
        if (facts.tree) {
            // Room for the spans of the reads as well, which come last: growing past a million
            // file spans would copy them all once more.
            size_t readSpans = 0;
            if (facts.damage) readSpans += facts.damage->ranges().size();
            if (facts.coverage) readSpans += facts.coverage->rangeCount() + 1 + 2 * facts.coverage->untried().size();
            picture.reserve(picture.spans().size() + facts.tree->files().size() + readSpans);
            uint32_t index = 0;
            for (const ItemRecord& file : facts.tree->files()) {
                ForEachFileRun(pool, facts.diskSectors, file, [&](const SectorRange& run) {
                    picture.add({run.first, run.count, PictureKind::FileData, index});
                });
                ++index;
            }
        }
    }
    picture.setReads(facts.damage, facts.coverage);
    picture.setScanPosition(facts.scanPosition);
    return picture;
}

}  // namespace lumbra
