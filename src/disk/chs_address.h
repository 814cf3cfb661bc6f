#pragma once
#include <cstdint>

namespace lumbra {

// The fixed translation of the BIOS back-end: 16 heads and 63 sectors per track (1008 sectors
// per cylinder), whatever the drive's real geometry. Only the low 32 bits of a sector number
// are translated.
struct ChsAddress {
    uint32_t cylinder;
    uint32_t head;
    uint32_t sectorInTrack;  // 1 to 63
};

constexpr uint32_t kBiosHeads = 16;
constexpr uint32_t kBiosSectorsPerTrack = 63;

constexpr ChsAddress TranslateChs(uint32_t linear) {
    return {linear / (kBiosHeads * kBiosSectorsPerTrack), (linear / kBiosSectorsPerTrack) % kBiosHeads,
            linear % kBiosSectorsPerTrack + 1};
}

}  // namespace lumbra
