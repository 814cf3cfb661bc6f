#pragma once
// Where the NetWare partition headers of a disk lie: each header and the sectors after it up
// to its segment's data (descriptor, pool information, data-start marker).
#include <cstdint>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/damage_map.h"
#include "disk/sector_reader.h"

namespace lumbra {

// Follows the header chain from each used entry of the partition table, then from each pool
// segment that those chains do not reach (a pool a scan found on a disk whose table is gone):
// from the segment's nearest header that leads to its data (HeadersLeadingTo). Answers one
// area per header met, in the order met, each header once. Every walk ends: at a sector that
// is no header, a zero link, a header already met on any chain, or after kMaxHeaderAreas
// headers in all.
std::vector<SectorRange> DiskHeaderAreas(SectorReader& reader, const std::vector<SelectedPool>& pools);

// The starts of the used entries of sector 0's partition table; none without a table.
std::vector<uint64_t> PartitionTableStarts(SectorReader& reader);

constexpr size_t kMaxHeaderAreas = 2500;  // 50 pools of 50 segments

}  // namespace lumbra
