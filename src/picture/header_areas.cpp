#include "picture/header_areas.h"

#include <unordered_set>

#include "discovery/partition_chain.h"
#include "discovery/partition_header.h"
#include "discovery/partition_table.h"
#include "discovery/sector_io.h"

namespace lumbra {

std::vector<SectorRange> PartitionHeaderAreas(SectorReader& reader, const std::vector<uint64_t>& chainStarts) {
    std::vector<SectorRange> areas;
    std::unordered_set<uint64_t> met;
    for (uint64_t sector : chainStarts) {
        while (areas.size() < kMaxHeaderAreas && met.insert(sector).second) {
            const auto header = ParsePartitionHeader(ReadOneSector(reader, sector));
            if (!header) break;
            if (header->signatureOk) areas.push_back({sector, FindDataOffset(reader, sector)});
            if (header->nextHeader == 0) break;
            sector = header->nextHeader;
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
