#pragma once
// The blocks of a volume's tree a snapshot keeps digests of: the root block and, spread over
// the blocks the mount read, a sample of the rest. Two disks set up alike (same pool, volume and
// partitioning) differ there as soon as they hold other files.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/sector_reader.h"
#include "snapshot/snapshot_state.h"

namespace lumbra {

// How many blocks a new snapshot keeps digests of (the root among them).
constexpr size_t kTreeSampleBlocks = 8;

// Reads the root and up to kTreeSampleBlocks - 1 blocks spread evenly over blocksRead through
// the pool mapping and digests each; a block that could not be read whole is left out.
std::vector<TreeBlockDigest> SampleTreeBlocks(SectorReader& reader, const SelectedPool& pool, uint64_t rootSector,
                                              std::span<const uint64_t> blocksRead);

// The digest of the block at diskSector as this disk holds it; nullopt when a sector of it
// cannot be read.
std::optional<Sha256Value> DigestTreeBlock(SectorReader& reader, const SelectedPool& pool, uint64_t diskSector);

}  // namespace lumbra
