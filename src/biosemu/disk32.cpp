// The emulated "Disk32" BIOS disk library: counts the disks, answers the extension check and
// reads sectors of the image files that stand for BIOS drives.
#include <cstdint>

#include "biosemu/bios_disks.h"
#include "disk/chs_address.h"

using lumbra::biosemu::DiskOf;
using lumbra::biosemu::Disks;

extern "C" {

__attribute__((visibility("default"))) void find_hard_disk32(uint16_t* count) {
    *count = static_cast<uint16_t>(Disks().size());
}

// Every emulated drive offers linear addressing.
__attribute__((visibility("default"))) uint32_t CheckInt13Extension32(uint32_t biosDrive) {
    return DiskOf(biosDrive) ? 1 : 0;
}

// With the extension flag the linear address is used, else the cylinder/head/sector triple of
// the fixed 16-head, 63-sector translation.
__attribute__((visibility("default"))) int ReadDisk32(uint32_t biosDrive, uint32_t cylinder, uint32_t head,
                                                      uint32_t sectorInTrack, uint32_t count, uint8_t* buffer,
                                                      uint32_t linear, uint32_t int13Extensions) {
    const auto* disk = DiskOf(biosDrive);
    if (!disk || sectorInTrack == 0) return 0;
    const uint32_t address =
        int13Extensions != 0 ? linear
                             : (cylinder * lumbra::kBiosHeads + head) * lumbra::kBiosSectorsPerTrack + sectorInTrack - 1;
    return lumbra::biosemu::ReadLinear(*disk, address, count, buffer);
}
}
