#include "discovery/partition_chain.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "discovery/partition_header.h"
#include "discovery/sector_io.h"

namespace lumbra {
namespace {

// Segment starts are 32-bit sector numbers; a data start beyond that cannot be recorded.
std::optional<uint32_t> DataStart(SectorReader& reader, uint64_t header) {
    const uint64_t start = header + FindDataOffset(reader, header);
    if (start > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(start);
}

// The size of a lone pool whose data starts at `start`: the pool information's, when it is
// usable (a size past the disk's end is, when the partition table entry runs past it too: the
// disk was cut short); else up to the end of the partition table entry the header lies in, else up to the
// disk's end. Kept below 2^32, as the record holds it.
void SizeLonePool(SectorReader& reader, uint64_t header, uint32_t start, const ChainEntry& entry, PoolEntry& pool) {
    const std::optional<uint64_t> diskEnd = reader.sectorCount();
    if (pool.poolSize != 0 && (!diskEnd || uint64_t{start} + pool.poolSize <= *diskEnd)) return;
    // A disk cut short: the partition table entry the pool lies in runs past the disk's end too.
    const bool headerInEntry = entry.end && header >= entry.first && header < *entry.end;
    if (pool.poolSize != 0 && headerInEntry && diskEnd && *entry.end > *diskEnd) return;
    const bool inEntry = headerInEntry && (!diskEnd || *entry.end <= *diskEnd);
    const std::optional<uint64_t> end = inEntry ? entry.end : diskEnd;
    if (!end || *end <= start) return;
    pool.poolSize = static_cast<uint32_t>(std::min<uint64_t>(*end - start, std::numeric_limits<uint32_t>::max()));
    pool.sizeSource = inEntry ? PoolSizeSource::PartitionEntry : PoolSizeSource::DiskEnd;
}

// A pool that fills its partition alone.
void AddLonePool(SectorReader& reader, uint64_t header, const PoolInformation& info, const ChainEntry& entry,
                 PoolTable& pools) {
    const auto start = DataStart(reader, header);
    if (!start || pools.knowsDataStart(*start)) return;
    PoolEntry pool;
    pool.name = info.name;
    pool.poolSize = info.poolSize;
    SizeLonePool(reader, header, *start, entry, pool);
    pool.segmentCount = 1;
    pool.segmentStart = {*start};
    // Kept as the record has always held it; the mapping of a lone segment does not use it.
    pool.segmentExtent = {static_cast<uint32_t>(pool.poolSize + header)};
    pools.add(std::move(pool));
}

// The descriptor and pool information of a partition that is one segment of a pool.
struct SegmentSectors {
    SegmentDescriptor descriptor;
    PoolInformation info;
};

std::optional<SegmentSectors> ReadSegment(SectorReader& reader, uint64_t header) {
    const auto descriptor =
        ParseSegmentDescriptor(ReadOneSector(reader, header + segment_descriptor::kSectorOffset));
    if (!descriptor) return std::nullopt;
    const auto info = ParsePoolInformation(ReadOneSector(reader, header + pool_information::kSectorOffset));
    if (!info) return std::nullopt;
    return SegmentSectors{*descriptor, *info};
}

// The header at `header` carries 0x0169: record the pool it starts, if any. A header whose pool
// information lies past the disk's end (an image cut short) starts none.
void AddPoolAt(SectorReader& reader, const ChainEntry& entry, uint64_t header, PoolTable& pools) {
    const auto diskEnd = reader.sectorCount();
    if (diskEnd && header + pool_information::kSectorOffset >= *diskEnd) return;
    const auto info = ParsePoolInformation(ReadOneSector(reader, header + pool_information::kSectorOffset));
    if (!info) return;
    const auto descriptor =
        ParseSegmentDescriptor(ReadOneSector(reader, header + segment_descriptor::kSectorOffset));
    if (!descriptor) {
        AddLonePool(reader, header, *info, entry, pools);
        return;
    }
    // A segmented pool is recorded once, from its segment 0.
    if (descriptor->segmentNumber != 0) return;
    if (auto collected = CollectPoolSegments(reader, pools, info->name, entry.first, descriptor->segmentTotal))
        pools.add(std::move(collected->pool), collected->segmentZeroStart);
}

// The pool keeps the places of its segmentCount segments. A count of kMaxSegments or more has
// no place in the table: the pool is not recorded.
std::optional<PoolEntry> KeepCountedSegments(PoolEntry pool) {
    if (pool.segmentCount >= kMaxSegments) return std::nullopt;
    pool.segmentStart.resize(pool.segmentCount);
    pool.segmentExtent.resize(pool.segmentCount);
    return pool;
}

}  // namespace

uint32_t FindDataOffset(SectorReader& reader, uint64_t header) {
    using namespace data_start_marker;
    for (int i = 0; i < kCandidates; ++i) {
        const uint64_t candidate = header + kFirstSectorOffset + uint64_t{kSectorStep} * i;
        if (const auto distance = ParseDataStartMarker(ReadOneSector(reader, candidate)))
            return *distance;
    }
    return kDefaultDistance;
}

void WalkPartitionChain(SectorReader& reader, const ChainEntry& entry, PoolTable& pools) {
    std::unordered_set<uint64_t> visited;
    uint64_t sector = entry.first;
    while (!pools.full() && visited.insert(sector).second) {
        const auto header = ParsePartitionHeader(ReadOneSector(reader, sector));
        if (!header) return;
        if (header->signatureOk) AddPoolAt(reader, entry, sector, pools);
        if (header->nextHeader == 0) return;
        sector = header->nextHeader;
    }
}

std::optional<CollectedPool> CollectPoolSegments(SectorReader& reader, const PoolTable& known,
                                                 std::string_view poolName, uint64_t firstSector,
                                                 uint32_t segmentTotal) {
    if (segmentTotal == 0 || segmentTotal >= kMaxSegments) return std::nullopt;
    PoolEntry pool;
    pool.name = std::string(poolName);
    // Every place a segment number may take; the pool keeps the first segmentCount of them.
    pool.segmentStart.assign(kMaxSegments, 0);
    pool.segmentExtent.assign(kMaxSegments, 0);
    std::vector<bool> seen(kMaxSegments, false);
    uint32_t matched = 0;

    std::unordered_set<uint64_t> visited;
    uint64_t sector = firstSector;
    while (visited.insert(sector).second) {
        const auto header = ParsePartitionHeader(ReadOneSector(reader, sector));
        if (!header) return std::nullopt;
        const auto segment = header->signatureOk ? ReadSegment(reader, sector) : std::nullopt;
        if (segment && segment->info.name == poolName &&
            segment->descriptor.segmentNumber < kMaxSegments && !seen[segment->descriptor.segmentNumber]) {
            const uint32_t number = segment->descriptor.segmentNumber;
            const auto start = DataStart(reader, sector);
            if (start && number == 0 && known.knowsDataStart(*start)) return std::nullopt;
            if (start) {
                seen[number] = true;
                pool.segmentStart[number] = *start;
                pool.segmentExtent[number] = segment->descriptor.segmentExtent;
                // Each segment met tells the pool's size and segment count again; the last
                // one met is what the pool keeps.
                pool.segmentCount = segment->descriptor.segmentTotal;
                pool.poolSize = segment->info.poolSize;
                if (++matched == segmentTotal) {
                    // Segment 0 holds the superblock and is what tells a pool met twice; a
                    // total met without it (other numbers came first) is a pool with a hole.
                    if (!seen[0]) return std::nullopt;
                    const uint32_t segmentZeroStart = pool.segmentStart[0];
                    auto kept = KeepCountedSegments(std::move(pool));
                    if (!kept) return std::nullopt;
                    return CollectedPool{std::move(*kept), segmentZeroStart};
                }
            }
        }
        if (header->nextHeader == 0) return std::nullopt;
        sector = header->nextHeader;
    }
    return std::nullopt;
}

}  // namespace lumbra
