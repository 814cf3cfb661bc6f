#include "disk/source_disk.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "disk/loop_backing.h"

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

}  // namespace

std::string DeviceNumberText(dev_t device) {
    return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

std::optional<SourceIdentity> IdentifySource(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    if (S_ISBLK(status.st_mode)) return SourceIdentity{true, status.st_rdev, 0};
    return SourceIdentity{false, status.st_dev, status.st_ino};
}

std::optional<dev_t> WholeDiskOf(dev_t device, const std::string& sysRoot) {
    std::error_code error;
    const fs::path entry = fs::canonical(fs::path(sysRoot) / "dev" / "block" / DeviceNumberText(device), error);
    if (error) return std::nullopt;
    const bool partition = fs::exists(entry / "partition", error);
    return ReadDeviceNumber((partition ? entry.parent_path() : entry) / "dev");
}

namespace {

// Loop devices nest only as deep as someone stacks them; the walk stops here all the same.
constexpr int kLoopNesting = 8;

bool SameImage(const LoopBacking& one, const LoopBacking& other) {
    return (one.held && other.isFile(*one.held)) || (one.named && other.isFile(*one.named));
}

bool OnSource(dev_t folderDevice, const SourceIdentity& source, const std::string& sysRoot, int nesting) {
    const auto folderDisk = WholeDiskOf(folderDevice, sysRoot);
    if (!folderDisk) return false;
    const auto folderBacking = LoopBackingOf(*folderDisk, sysRoot);
    if (source.blockDevice) {
        if (WholeDiskOf(source.device, sysRoot).value_or(source.device) == *folderDisk) return true;
        // A loop device shows its image: every other loop device over that image is the same disk.
        const auto sourceBacking = LoopBackingOf(source.device, sysRoot);
        if (sourceBacking && folderBacking && SameImage(*sourceBacking, *folderBacking)) return true;
    } else if (folderBacking && folderBacking->isFile({source.device, source.inode})) {
        // An image matters only through a loop device it backs; its own file system is another disk.
        return true;
    }
    // A file system on a loop device lies where the loop device's image lies.
    if (!folderBacking || nesting == 0) return false;
    for (const auto& file : {folderBacking->held, folderBacking->named})
        if (file && OnSource(file->device, source, sysRoot, nesting - 1)) return true;
    return false;
}

}  // namespace

bool DeviceOnSource(dev_t folderDevice, const SourceIdentity& source, const std::string& sysRoot) {
    return OnSource(folderDevice, source, sysRoot, kLoopNesting);
}

std::optional<dev_t> NearestFileSystem(const std::string& path) {
    std::error_code error;
    fs::path existing = fs::absolute(path, error);
    if (error) return std::nullopt;
    struct stat status {};
    while (::stat(existing.c_str(), &status) != 0) {
        if (existing == existing.root_path()) return std::nullopt;
        existing = existing.parent_path();
    }
    return status.st_dev;
}

bool FolderOnSource(const std::string& folder, const std::string& sourcePath, const std::string& sysRoot) {
    const auto source = IdentifySource(sourcePath);
    const auto fileSystem = NearestFileSystem(folder);
    return source && fileSystem && DeviceOnSource(*fileSystem, *source, sysRoot);
}

}  // namespace lumbra
