#pragma once
// The disks served by the emulated BIOS libraries: the entries of the environment variable
// LUMBRA_BIOS_DISKS (disk/bios_disk_list.h), as BIOS drives 0x80, 0x81, ...
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "disk/file_device.h"

namespace lumbra::biosemu {

struct BiosDisk {
    std::string entry;
    std::unique_ptr<FileDevice> device;  // null when the entry cannot be read
    uint64_t sectors = 0;
};

const std::vector<BiosDisk>& Disks();
// The disk of a BIOS drive number, or nullptr.
const BiosDisk* DiskOf(uint32_t biosDrive);
// Reads count sectors from a linear sector; sectors past the end of the image read as zeros and
// make the result 0.
int ReadLinear(const BiosDisk& disk, uint32_t linear, uint32_t count, uint8_t* buffer);

}  // namespace lumbra::biosemu
