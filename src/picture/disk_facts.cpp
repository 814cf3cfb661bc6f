#include "picture/disk_facts.h"

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
    if (facts.partitionTable) picture.add({0, 1, PictureKind::PartitionTable, 0});
    for (const SectorRange& area : facts.headerAreas) picture.add({area.first, area.count, PictureKind::PartitionHeader, 0});
    for (uint32_t row = 0; row < facts.pools.size(); ++row) {
        picture.poolNames.push_back(facts.pools[row].name);
        for (const SectorRange& area : PoolAreas(facts.pools[row])) picture.add({area.first, area.count, PictureKind::Pool, row});
    }
    if (facts.selectedPool && *facts.selectedPool < facts.pools.size()) {
        picture.selectedPool = *facts.selectedPool;
        if (facts.superblockSector) picture.addMetadata(MetadataKind::Superblock, *facts.superblockSector);
        for (uint64_t block : facts.objectTreeBlocks) picture.addMetadata(MetadataKind::ObjectTreeNode, block);
        bool rootMet = false;
        for (uint64_t block : facts.volumeTreeBlocks) {
            rootMet = rootMet || facts.volumeRoot == block;
            picture.addMetadata(facts.volumeRoot == block ? MetadataKind::VolumeRoot : MetadataKind::VolumeTreeNode, block);
        }
        if (facts.volumeRoot && !rootMet) picture.addMetadata(MetadataKind::VolumeRoot, *facts.volumeRoot);
        if (facts.tree) {
            const SelectedPool& pool = facts.pools[*facts.selectedPool];
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
