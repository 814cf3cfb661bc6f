#pragma once
// Reads of one sector or one pool block for the parsers. The buffer starts cleared, so a read
// that fails leaves zeros, which no structure test accepts.
#include <array>
#include <cstdint>

#include "disk/sector.h"
#include "disk/sector_reader.h"

namespace lumbra {

using SectorBytes = std::array<uint8_t, kSectorSize>;
using BlockBytes = std::array<uint8_t, kBlockSize>;

inline SectorBytes ReadOneSector(SectorReader& reader, uint64_t sector) {
    SectorBytes bytes{};
    reader.ReadSectors(sector, 1, bytes.data());
    return bytes;
}

inline BlockBytes ReadOneBlock(SectorReader& reader, uint64_t sector) {
    BlockBytes bytes{};
    reader.ReadSectors(sector, kSectorsPerBlock, bytes.data());
    return bytes;
}

}  // namespace lumbra
