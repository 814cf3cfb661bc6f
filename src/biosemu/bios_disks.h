#pragma once
// The disks served by the emulated BIOS libraries: the image files named in the environment
// variable LUMBRA_BIOS_DISKS (separated by ':'), as BIOS drives 0x80, 0x81, ...
#include <cstdint>
#include <string>
#include <vector>

namespace lumbra::biosemu {

struct BiosDisk {
    std::string path;
    uint64_t sectors = 0;
};

const std::vector<BiosDisk>& Disks();
// The disk of a BIOS drive number, or nullptr.
const BiosDisk* DiskOf(uint32_t biosDrive);
// Reads count sectors from a linear sector; sectors past the end of the image read as zeros and
// make the result 0.
int ReadLinear(const BiosDisk& disk, uint32_t linear, uint32_t count, uint8_t* buffer);

}  // namespace lumbra::biosemu
