// The emulated "disk2" BIOS disk library: the geometry of the image files that stand for BIOS
// drives, in the fixed 16-head, 63-sector translation with the cylinders rounded up.
#include <cstdint>

#include "biosemu/bios_disks.h"
#include "disk/chs_address.h"

extern "C" {

__attribute__((visibility("default"))) void get_drive_geometry32(uint32_t biosDrive, uint32_t* cylinders,
                                                                 uint32_t* heads, uint32_t* sectorsPerTrack) {
    const auto* disk = lumbra::biosemu::DiskOf(biosDrive);
    const uint64_t perCylinder = lumbra::kBiosHeads * lumbra::kBiosSectorsPerTrack;
    const uint64_t sectors = disk ? disk->sectors : 0;
    const uint64_t rounded = (sectors + perCylinder - 1) / perCylinder;
    *cylinders = rounded > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(rounded);
    *heads = disk ? lumbra::kBiosHeads : 0;
    *sectorsPerTrack = disk ? lumbra::kBiosSectorsPerTrack : 0;
}
}
