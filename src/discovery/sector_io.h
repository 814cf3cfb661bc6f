#pragma once
// Reads of one sector or one pool block for the parsers of on-disk structures. The buffer
// starts cleared, so a read that fails leaves zeros, which no structure test accepts; each
// sector read that is damaged (failed, or never rescued) counts in the drive's damage map as
// unreadable metadata.
#include <array>
#include <cstdint>

#include "disk/sector.h"
#include "disk/sector_reader.h"

namespace lumbra {

using SectorBytes = std::array<uint8_t, kSectorSize>;
using BlockBytes = std::array<uint8_t, kBlockSize>;

inline void NoteMetadataRead(SectorReader& reader, uint64_t sector, uint32_t count) {
    if (DamageMap* damage = reader.damageMap())
        damage->noteMetadataRead(sector, count, reader.sectorCount().value_or(UINT64_MAX));
}

inline SectorBytes ReadOneSector(SectorReader& reader, uint64_t sector) {
    SectorBytes bytes{};
    reader.ReadSectors(sector, 1, bytes.data());
    NoteMetadataRead(reader, sector, 1);
    return bytes;
}

inline BlockBytes ReadOneBlock(SectorReader& reader, uint64_t sector) {
    BlockBytes bytes{};
    reader.ReadSectors(sector, kSectorsPerBlock, bytes.data());
    NoteMetadataRead(reader, sector, kSectorsPerBlock);
    return bytes;
}

}  // namespace lumbra
