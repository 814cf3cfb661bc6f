#include "snapshot/snapshot_tree_sample.h"

#include <algorithm>

#include "discovery/sector_io.h"
#include "snapshot/snapshot_block_damage.h"

namespace lumbra {

std::optional<Sha256Value> DigestTreeBlock(SectorReader& reader, const SelectedPool& pool, uint64_t diskSector) {
    const BlockBytes block = ReadPoolBlockAt(reader, pool, diskSector, false);
    if (BlockDamaged(reader, pool, diskSector)) return std::nullopt;
    return Sha256Digest::of(block);
}

std::vector<TreeBlockDigest> SampleTreeBlocks(SectorReader& reader, const SelectedPool& pool, uint64_t rootSector,
                                              std::span<const uint64_t> blocksRead) {
    std::vector<uint64_t> chosen{rootSector};
    std::vector<uint64_t> others;
    for (uint64_t sector : blocksRead)
        if (sector != rootSector) others.push_back(sector);
    const size_t wanted = std::min(others.size(), kTreeSampleBlocks - 1);
    for (size_t i = 0; i < wanted; ++i) chosen.push_back(others[i * others.size() / wanted]);
    std::vector<TreeBlockDigest> sample;
    for (uint64_t sector : chosen)
        if (auto digest = DigestTreeBlock(reader, pool, sector)) sample.push_back({sector, *digest});
    return sample;
}

}  // namespace lumbra
