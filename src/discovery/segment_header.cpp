#include "discovery/segment_header.h"

#include "discovery/partition_chain.h"
#include "discovery/partition_header.h"
#include "disk/sector.h"

namespace lumbra {

std::vector<uint64_t> HeadersLeadingTo(SectorReader& reader, uint64_t dataStart) {
    const uint64_t first = dataStart > kHeaderWindow ? dataStart - kHeaderWindow : 0;
    const auto count = static_cast<uint32_t>(dataStart - first);
    std::vector<uint8_t> window(size_t{count} * kSectorSize);
    std::vector<uint64_t> headers;
    if (count == 0) return headers;
    reader.ReadSectors(first, count, window.data());
    for (uint64_t header = dataStart; header-- > first;) {
        const ByteView sector(window.data() + (header - first) * kSectorSize, kSectorSize);
        if (HasPartitionSignature(sector) && header + FindDataOffset(reader, header) == dataStart) headers.push_back(header);
    }
    return headers;
}

}  // namespace lumbra
