#include "disk/linux_drives.h"

#include <linux/hdreg.h>
#include <sys/ioctl.h>

#include <cctype>

#include "disk/file_device.h"
#include "disk/sysfs_disks.h"

namespace lumbra {

namespace {

// Geometry the device reports, or the fallback of 255 heads and 63 sectors per track; the
// cylinders are the whole ones that fit (the 16-bit count of HDIO_GETGEO wraps on large disks),
// and the real size is kept beside them.
DriveEntry geometryOf(int fd, uint64_t sizeBytes) {
    DriveEntry entry = GeometryForSize(sizeBytes);
    struct hd_geometry reported {};
    if (ioctl(fd, HDIO_GETGEO, &reported) == 0 && reported.heads != 0 && reported.sectors != 0) {
        entry.heads = reported.heads;
        entry.sectorsPerTrack = reported.sectors;
        entry.cylinders = WholeCylinders(sizeBytes, entry.heads, entry.sectorsPerTrack);
        entry.totalSectors = ClampedTotalSectors(entry.cylinders, entry.heads, entry.sectorsPerTrack);
    }
    return entry;
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) && std::isdigit(static_cast<unsigned char>(b[j]))) {
            size_t ie = i, je = j;
            while (ie < a.size() && std::isdigit(static_cast<unsigned char>(a[ie]))) ++ie;
            while (je < b.size() && std::isdigit(static_cast<unsigned char>(b[je]))) ++je;
            const std::string da = a.substr(i, ie - i), db = b.substr(j, je - j);
            if (da.size() != db.size()) return da.size() < db.size();
            if (da != db) return da < db;
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<DriveEntry> ListLinuxDisks(const SystemPaths& paths) {
    std::vector<DriveEntry> rows;
    for (const SysfsDisk& disk : ListSysfsDisks(paths)) {
        DriveEntry row;
        if (disk.sizeBytes == 0) {
            // Loop devices without a backing file and empty drives of fixed disks are not disks.
            if (!disk.removable) continue;
            row.model = "Media missing or not inserted";
            row.sizeBytes = 0;
        } else {
            // A disk that needs rights is not opened here: its size gives the geometry, and the
            // password is asked only when the user goes on with it.
            auto device = FileDevice::Open(disk.devicePath);
            row = device ? geometryOf(device->descriptor(), device->sizeBytes()) : GeometryForSize(disk.sizeBytes);
            row.model = disk.usb ? "USB Device" : disk.model;
        }
        row.path = disk.devicePath;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace lumbra
