#include "discovery/partition_table.h"

namespace lumbra {

std::optional<PartitionTable> ParsePartitionTable(ByteView sector) {
    using namespace partition_table;
    if (le8(sector, kMarkOffset) != 0x55 || le8(sector, kMarkOffset + 1) != 0xAA)
        return std::nullopt;
    PartitionTable table;
    for (size_t i = 0; i < kEntryCount; ++i) {
        const size_t entry = kFirstEntryOffset + i * kEntrySize;
        table[i].type = *le8(sector, entry + kTypeOffset);
        table[i].firstSector = *le32(sector, entry + kFirstSectorOffset);
        table[i].sectorCount = *le32(sector, entry + kSectorCountOffset);
    }
    return table;
}

}  // namespace lumbra
