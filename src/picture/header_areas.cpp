#include "picture/header_areas.h"

#include <algorithm>
#include <unordered_set>

#include "discovery/partition_chain.h"
#include "discovery/partition_header.h"
#include "discovery/partition_table.h"
#include "discovery/sector_io.h"
#include "discovery/segment_header.h"

namespace lumbra {
namespace {

// One chain from `sector`; `met` holds the sectors every walk so far has visited.
void WalkHeaders(SectorReader& reader, uint64_t sector, std::unordered_set<uint64_t>& met, std::vector<SectorRange>& areas) {
    while (areas.size() < kMaxHeaderAreas && met.insert(sector).second) {
        const auto header = ParsePartitionHeader(ReadOneSector(reader, sector));
        if (!header) return;
        if (header->signatureOk) areas.push_back({sector, FindDataOffset(reader, sector)});
        if (header->nextHeader == 0) return;
        sector = header->nextHeader;
    }
}

}  // namespace

std::vector<SectorRange> DiskHeaderAreas(SectorReader& reader, const std::vector<SelectedPool>& pools) {
    std::vector<SectorRange> areas;
    std::unordered_set<uint64_t> met;
    for (uint64_t sector : PartitionTableStarts(reader)) WalkHeaders(reader, sector, met, areas);
    for (const SelectedPool& pool : pools) {
        for (size_t i = 0; i < pool.segmentCount && i < pool.segmentStart.size(); ++i) {
            if (areas.size() >= kMaxHeaderAreas) return areas;
            const uint64_t dataStart = pool.segmentStart[i];
            if (std::any_of(areas.begin(), areas.end(), [&](const SectorRange& area) { return area.end() == dataStart; }))
                continue;
            const std::vector<uint64_t> headers = HeadersLeadingTo(reader, dataStart);
            if (!headers.empty()) WalkHeaders(reader, headers.front(), met, areas);
        }
    }
    return areas;
}

std::vector<uint64_t> PartitionTableStarts(SectorReader& reader) {
    std::vector<uint64_t> starts;
    const SectorBytes sector0 = ReadOneSector(reader, 0);
    const auto table = ParsePartitionTable(sector0);
    if (!table) return starts;
    for (const PartitionTableEntry& entry : *table)
        if (entry.used()) starts.push_back(entry.firstSector);
    return starts;
}

}  // namespace lumbra
