#include "disk/bios_sector_reader.h"

#include "disk/chs_address.h"

namespace lumbra {

int BiosSectorReader::ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) {
    const auto linear = static_cast<uint32_t>(sector);
    const ChsAddress chs = TranslateChs(linear);
    const int filled = library_.ReadDisk32(0x80 + probeNumber_, chs.cylinder, chs.head, chs.sectorInTrack, count,
                                           buffer, linear, int13Extensions_);
    return filled != 0 ? 1 : 0;
}

}  // namespace lumbra
