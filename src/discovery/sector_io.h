#pragma once
// Reads of one sector or one pool block for the parsers of on-disk structures. The buffer
// starts cleared, so a read that fails leaves zeros, which no structure test accepts; each
// sector read that is damaged (failed, or never rescued) counts in the drive's damage map as
// unreadable metadata.
#include <array>
#include <cstdint>

#include "discovery/pool_mapping.h"
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

// The sectors of the pool block that starts at disk sector `diskSector`, run by run (see
// BlockRunsAt); counted as metadata read when `metadata` says so.
inline BlockBytes ReadPoolBlockAt(SectorReader& reader, const SelectedPool& pool, uint64_t diskSector,
                                  bool metadata = true) {
    BlockBytes bytes{};
    const BlockRuns block = BlockRunsAt(pool, diskSector);
    uint8_t* into = bytes.data();
    for (size_t i = 0; i < block.count; ++i) {
        const PoolRun& run = block.runs[i];
        const auto sectors = static_cast<uint32_t>(run.sectors);
        reader.ReadSectors(run.diskSector, sectors, into);
        if (metadata) NoteMetadataRead(reader, run.diskSector, sectors);
        into += size_t{sectors} * kSectorSize;
    }
    return bytes;
}

}  // namespace lumbra
