#pragma once
// The PC partition table in sector 0 of a drive.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "disk/byte_order.h"

namespace lumbra {

struct PartitionTableEntry {
    uint8_t type = 0;          // 0 marks an unused entry
    uint32_t firstSector = 0;
    uint32_t sectorCount = 0;

    // An entry is walked when both its type and its size are set, whatever the type.
    bool used() const { return type != 0 && sectorCount != 0; }
};

namespace partition_table {
constexpr size_t kFirstEntryOffset = 446;
constexpr size_t kEntrySize = 16;
constexpr size_t kEntryCount = 4;
constexpr size_t kTypeOffset = 4;          // within an entry
constexpr size_t kFirstSectorOffset = 8;   // within an entry
constexpr size_t kSectorCountOffset = 12;  // within an entry
constexpr size_t kMarkOffset = 510;        // 0x55 0xAA
}  // namespace partition_table

using PartitionTable = std::array<PartitionTableEntry, partition_table::kEntryCount>;

// The four entries of sector 0; nullopt when the sector does not end in 0x55 0xAA.
std::optional<PartitionTable> ParsePartitionTable(ByteView sector);

}  // namespace lumbra
