#pragma once
// The drives the user can choose from, filled once at start-up.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "disk/sector.h"

namespace lumbra {

struct DriveEntry {
    uint32_t cylinders = 0;
    uint32_t heads = 0;
    uint32_t sectorsPerTrack = 0;
    uint32_t totalSectors = 0;  // cylinders x heads x sectorsPerTrack, clamped to 4294967295
    std::string model;
    uint32_t int13Extensions = 0;  // what the BIOS library answered for the drive; 0 in N mode
    uint32_t probeNumber = 0;      // N mode: the row's place among devices; F mode: BIOS drive 0x80 + n
    std::string path;              // N mode: the block device or image file read for this row
    // The exact size in bytes of an image or a disk of this machine (the geometry rounds it);
    // unknown for the drives of the BIOS libraries.
    std::optional<uint64_t> sizeBytes;

    // The size to show and to scan up to: the real one when known (a last partial sector
    // counts), else the geometry's; whole cylinders may stop short of the real size.
    uint64_t sizeInSectors() const {
        return sizeBytes ? (*sizeBytes + kSectorSize - 1) / kSectorSize : totalSectors;
    }
};

struct DriveTable {
    static constexpr size_t kCapacity = 32;
    std::vector<DriveEntry> rows;  // at most kCapacity
    uint16_t count() const { return static_cast<uint16_t>(rows.size()); }
    // Adds a row unless the table is full; false when it was full.
    bool add(DriveEntry entry);
};

// The product of the three geometry values, clamped instead of wrapping, so that a large disk
// never shows as a small one and the default scan range covers it.
uint32_t ClampedTotalSectors(uint32_t cylinders, uint32_t heads, uint32_t sectorsPerTrack);

// Geometry for a device of the given size that reports none of its own: 255 heads, 63 sectors
// per track, and the whole cylinders that fit, as a disk's geometry query counts them; the real
// size is kept beside it.
DriveEntry GeometryForSize(uint64_t sizeBytes);
// The whole cylinders of heads x sectorsPerTrack sectors that fit in the size, clamped.
uint32_t WholeCylinders(uint64_t sizeBytes, uint32_t heads, uint32_t sectorsPerTrack);

// "Storage Device" followed by the row number: the text of a drive in the drive list.
std::string DriveLabel(size_t row);

}  // namespace lumbra
