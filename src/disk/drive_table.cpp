#include "disk/drive_table.h"

#include <limits>

#include "disk/sector.h"

namespace lumbra {

bool DriveTable::add(DriveEntry entry) {
    if (rows.size() >= kCapacity) return false;
    rows.push_back(std::move(entry));
    return true;
}

uint32_t ClampedTotalSectors(uint32_t cylinders, uint32_t heads, uint32_t sectorsPerTrack) {
    const uint64_t product = static_cast<uint64_t>(cylinders) * heads * sectorsPerTrack;
    // cylinders x heads fits 64 bits; a third factor could overflow it only past 2^64.
    const bool overflow = heads != 0 && sectorsPerTrack != 0 &&
                          static_cast<uint64_t>(cylinders) * heads > std::numeric_limits<uint64_t>::max() / sectorsPerTrack;
    if (overflow || product > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(product);
}

uint32_t WholeCylinders(uint64_t sizeBytes, uint32_t heads, uint32_t sectorsPerTrack) {
    const uint64_t perCylinder = uint64_t{heads} * sectorsPerTrack;
    if (perCylinder == 0) return 0;
    const uint64_t cylinders = sizeBytes / kSectorSize / perCylinder;
    return cylinders > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                            : static_cast<uint32_t>(cylinders);
}

DriveEntry GeometryForSize(uint64_t sizeBytes) {
    DriveEntry entry;
    entry.heads = 255;
    entry.sectorsPerTrack = 63;
    entry.cylinders = WholeCylinders(sizeBytes, entry.heads, entry.sectorsPerTrack);
    entry.totalSectors = ClampedTotalSectors(entry.cylinders, entry.heads, entry.sectorsPerTrack);
    entry.sizeBytes = sizeBytes;
    return entry;
}

std::string DriveLabel(size_t row) { return "Storage Device" + std::to_string(row); }

}  // namespace lumbra
