#pragma once
// NetWare partitions: where each segment goes on the disk, and the sectors that describe it
// (header with its chain link, segment descriptor, pool information, data-start marker).
#include <cstdint>
#include <vector>

#include "support/image_data.h"
#include "support/nss_image_plan.h"

namespace lumbra::test {

// The segments of a pool as planned; a pool planned without segments has one automatic one.
std::vector<SegmentPlan> segmentsOf(const PoolPlan& pool);

// Header sectors, data starts and extents of every pool's segments (BuiltPool::segments, by
// number, and poolSize). `neededSectors[p]` sizes the segments left without an extent.
void placeSegments(const DiskPlan& plan, const std::vector<uint64_t>& neededSectors, std::vector<BuiltPool>& pools);

// Disk sectors that the partition sectors of pool `p` occupy (header, descriptor, pool
// information, marker), so that no pool block is given out over them.
std::vector<uint64_t> partitionSectors(const DiskPlan& plan, const std::vector<BuiltPool>& pools, size_t p);

struct ChainedHeader {
    uint64_t sector = 0;
    uint64_t length = 0;  // sectors of the partition: data offset + extent
};

// Writes the partition sectors of every segment and links the chains; returns the headers in
// chain order (chain by chain).
std::vector<ChainedHeader> writePartitions(ImageData& image, const DiskPlan& plan);

void writeMbr(ImageData& image, const MbrPlan& mbr, const std::vector<ChainedHeader>& headers);

}  // namespace lumbra::test
