#include "disk/source_disk.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

namespace lumbra {

namespace fs = std::filesystem;

const char* const kDestinationOnSourceText =
    "The destination lies on the disk being recovered; writing there can overwrite the data you are recovering.";

namespace {

// "8:1" as a sysfs "dev" file holds it.
std::optional<dev_t> ReadDeviceNumber(const fs::path& file) {
    std::ifstream in(file);
    unsigned int major = 0, minor = 0;
    char colon = 0;
    if (!(in >> major >> colon >> minor) || colon != ':') return std::nullopt;
    return makedev(major, minor);
}

std::string NumberText(dev_t device) {
    return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

}  // namespace

std::optional<SourceIdentity> IdentifySource(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    if (S_ISBLK(status.st_mode)) return SourceIdentity{true, status.st_rdev, 0};
    return SourceIdentity{false, status.st_dev, status.st_ino};
}

std::optional<dev_t> WholeDiskOf(dev_t device, const std::string& sysRoot) {
    std::error_code error;
    const fs::path entry = fs::canonical(fs::path(sysRoot) / "dev" / "block" / NumberText(device), error);
    if (error) return std::nullopt;
    const bool partition = fs::exists(entry / "partition", error);
    return ReadDeviceNumber((partition ? entry.parent_path() : entry) / "dev");
}

bool DeviceOnSource(dev_t folderDevice, const SourceIdentity& source, const std::string& sysRoot) {
    const auto folderDisk = WholeDiskOf(folderDevice, sysRoot);
    if (!folderDisk) return false;
    if (source.blockDevice) return WholeDiskOf(source.device, sysRoot).value_or(source.device) == *folderDisk;
    // An image matters only through a loop device it backs; its own file system is another disk.
    std::error_code error;
    for (const auto& disk : fs::directory_iterator(fs::path(sysRoot) / "block", error)) {
        std::ifstream backing(disk.path() / "loop" / "backing_file");
        std::string path;
        if (!std::getline(backing, path)) continue;
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0 || status.st_dev != source.device || status.st_ino != source.inode)
            continue;
        if (ReadDeviceNumber(disk.path() / "dev") == folderDisk) return true;
    }
    return false;
}

bool FolderOnSource(const std::string& folder, const std::string& sourcePath, const std::string& sysRoot) {
    const auto source = IdentifySource(sourcePath);
    if (!source) return false;
    std::error_code error;
    fs::path existing = fs::absolute(folder, error);
    if (error) return false;
    struct stat status {};
    while (::stat(existing.c_str(), &status) != 0) {
        if (existing == existing.root_path()) return false;
        existing = existing.parent_path();
    }
    return DeviceOnSource(status.st_dev, *source, sysRoot);
}

}  // namespace lumbra
