#pragma once
// What the program knows of a drive, gathered for its picture: the partition structures, the
// pools, and for the selected pool the metadata blocks read and the recovered files.
#include <cstdint>
#include <optional>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/damage_map.h"
#include "picture/disk_picture.h"
#include "recovery/item_record.h"
#include "recovery/record_lists.h"

namespace lumbra {

struct DiskFacts {
    uint64_t diskSectors = 0;
    bool partitionTable = false;          // sector 0 carries a PC partition table
    std::vector<SectorRange> headerAreas; // see DiskHeaderAreas
    std::vector<SelectedPool> pools;      // by row
    std::optional<uint32_t> selectedPool; // row in `pools`
    // Of the selected pool; disk sectors.
    std::optional<uint64_t> superblockSector;
    std::vector<uint64_t> objectTreeBlocks;
    std::optional<uint64_t> volumeRoot;
    std::vector<uint64_t> volumeTreeBlocks;
    const RecoveredTree* tree = nullptr;  // its files lie in the selected pool
    const DamageMap* damage = nullptr;
    const ReadCoverage* coverage = nullptr;  // null: no record of reads, nothing is never read
    std::optional<uint64_t> scanPosition;
};

// The picture of those facts: one pass over the pools' segments, the metadata and the file
// layouts.
DiskPicture LayDiskOut(const DiskFacts& facts);

// The disk sectors a file's data lies in, in file order, through its pool's mapping.
std::vector<SectorRange> FileSectorRuns(const SelectedPool& pool, uint64_t diskSectors, const ItemRecord& file);

// The disk areas a pool's sectors map to, in pool order, neighbours merged; after at most
// kMaxPoolAreas steps of the mapping, so that a damaged pool record cannot make it long.
std::vector<SectorRange> PoolAreas(const SelectedPool& pool);

constexpr size_t kMaxPoolAreas = 4096;

}  // namespace lumbra
