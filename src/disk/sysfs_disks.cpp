#include "disk/sysfs_disks.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "disk/sector.h"

namespace lumbra {

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute without surrounding blanks; attributes are short, and
// longer text is cut.
std::string readTrimmed(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    if (text.size() > 256) text.resize(256);
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

// sysfs counts a disk's size in 512-byte units whatever its own sector size.
uint64_t sizeBytesOf(const fs::path& entry) {
    const std::string text = readTrimmed(entry / "size");
    uint64_t units = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), units);
    if (error != std::errc() || end != text.data() + text.size() || units > UINT64_MAX / kSectorSize) return 0;
    return units * kSectorSize;
}

}  // namespace

std::vector<SysfsDisk> ListSysfsDisks(const SystemPaths& paths) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(paths.sysBlock, error)) {
        const std::string name = entry.path().filename().string();
        if (!excludedName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);

    std::vector<SysfsDisk> disks;
    for (const std::string& name : names) {
        const fs::path entry = fs::path(paths.sysBlock) / name;
        SysfsDisk disk;
        disk.name = name;
        disk.devicePath = (fs::path(paths.dev) / name).string();
        disk.sizeBytes = sizeBytesOf(entry);
        // A drive without medium may have no node; a disk with a size but no node is gone.
        if (disk.sizeBytes != 0 && !fs::exists(disk.devicePath, error)) continue;
        disk.removable = readTrimmed(entry / "removable") == "1";
        disk.readOnly = readTrimmed(entry / "ro") == "1";
        disk.usb = onUsbBus(entry);
        disk.model = modelOf(entry, name);
        disks.push_back(std::move(disk));
    }
    return disks;
}

std::optional<uint64_t> SysfsBlockDeviceSize(const std::string& devicePath, const std::string& sysDevBlock) {
    struct stat node {};
    if (::stat(devicePath.c_str(), &node) != 0 || !S_ISBLK(node.st_mode)) return std::nullopt;
    const std::string number = std::to_string(major(node.st_rdev)) + ":" + std::to_string(minor(node.st_rdev));
    const uint64_t size = sizeBytesOf(fs::path(sysDevBlock) / number);
    if (size == 0) return std::nullopt;
    return size;
}

}  // namespace lumbra
