#include "disk/linux_drives.h"

#include <linux/hdreg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "disk/file_device.h"

namespace lumbra {

namespace fs = std::filesystem;

namespace {

std::string readTrimmed(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
    return text.substr(start);
}

bool excludedName(const std::string& name) {
    return name.rfind("ram", 0) == 0 || name.rfind("zram", 0) == 0;
}

bool onUsbBus(const fs::path& entry) {
    std::error_code error;
    const fs::path target = fs::canonical(entry, error);
    if (error) return false;
    return target.string().find("/usb") != std::string::npos;
}

std::string modelOf(const fs::path& entry, const std::string& name) {
    std::string model = readTrimmed(entry / "device" / "model");
    if (!model.empty()) return model;
    const std::string backing = readTrimmed(entry / "loop" / "backing_file");
    if (!backing.empty()) return fs::path(backing).filename().string();
    return name;
}

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

void CountRefusedOpen(int openError, bool administrator, UnopenedDisks& unopened) {
    if (openError != EACCES && openError != EPERM) return;
    ++(administrator ? unopened.refused : unopened.needingRights);
}

std::vector<DriveEntry> ListLinuxDisks(const SystemPaths& paths, UnopenedDisks* unopened) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(paths.sysBlock, error)) {
        const std::string name = entry.path().filename().string();
        if (!excludedName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);

    std::vector<DriveEntry> rows;
    for (const std::string& name : names) {
        const fs::path entry = fs::path(paths.sysBlock) / name;
        const std::string sectors = readTrimmed(entry / "size");
        const bool removable = readTrimmed(entry / "removable") == "1";
        if (sectors == "0" || sectors.empty()) {
            // Loop devices without a backing file and empty drives of fixed disks are not disks.
            if (!removable) continue;
            DriveEntry missing;
            missing.model = "Media missing or not inserted";
            missing.path = (fs::path(paths.dev) / name).string();
            missing.sizeBytes = 0;
            rows.push_back(missing);
            continue;
        }
        auto device = FileDevice::Open((fs::path(paths.dev) / name).string());
        if (!device) {
            if (unopened) CountRefusedOpen(errno, geteuid() == 0, *unopened);
            continue;
        }
        DriveEntry row = geometryOf(device->descriptor(), device->sizeBytes());
        row.model = onUsbBus(entry) ? "USB Device" : modelOf(entry, name);
        row.path = (fs::path(paths.dev) / name).string();
        row.sizeBytes = device->sizeBytes();
        rows.push_back(row);
    }
    return rows;
}

}  // namespace lumbra
