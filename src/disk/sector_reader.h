#pragma once
#include <cstdint>
#include <optional>

#include "disk/damage_map.h"
#include "disk/read_coverage.h"

namespace lumbra {

// The one way every parser reads the source disk: a run of 512-byte sectors of the selected
// drive. `buffer` holds at least count * 512 bytes. The result is 1 when the read (or, after a
// failed bulk read, the last attempt on the last sector) succeeded, else 0; callers judge what
// they read by its magic bytes, not by this result.
class SectorReader {
public:
    virtual ~SectorReader() = default;
    virtual int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) = 0;
    // Sectors the source holds (a sector only partly there counts); nullopt when the back-end
    // cannot tell. Readers of pool data stop at this end instead of reading zeros past it.
    virtual std::optional<uint64_t> sectorCount() const { return std::nullopt; }
    // The sectors of this drive that could not be read so far; null for a back-end that keeps
    // no such record.
    virtual DamageMap* damageMap() const { return nullptr; }
    // The sectors of this drive asked for so far; null for a back-end that keeps no such record.
    virtual ReadCoverage* readCoverage() const { return nullptr; }
};

}  // namespace lumbra
