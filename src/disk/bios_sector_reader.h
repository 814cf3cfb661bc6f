#pragma once
#include "disk/bios_disk_library.h"
#include "disk/sector_reader.h"

namespace lumbra {

// The BIOS back-end of ReadSectors: each read is one call of the library's ReadDisk32 with the
// fixed cylinder/head/sector translation of the low 32 bits of the sector number.
class BiosSectorReader : public SectorReader {
public:
    BiosSectorReader(BiosDiskLibrary& library, uint32_t probeNumber, uint32_t int13Extensions)
        : library_(library), probeNumber_(probeNumber), int13Extensions_(int13Extensions) {}

    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override;

private:
    BiosDiskLibrary& library_;
    uint32_t probeNumber_;
    uint32_t int13Extensions_;
};

}  // namespace lumbra
