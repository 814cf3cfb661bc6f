#pragma once
// Whether a destination folder lies on the disk being recovered. Writing there would reuse the
// free space that holds the lost data. The file system of the folder is known by its device
// number (st_dev); sysfs tells which whole disk that device belongs to, and, for an image, which
// loop devices the image backs. The sysfs root is a parameter so that tests can build one.
#include <sys/types.h>

#include <optional>
#include <string>

namespace lumbra {

// What a source is, as far as where it lives goes.
struct SourceIdentity {
    bool blockDevice = false;
    dev_t device = 0;  // the block device it is (st_rdev); for a file, the device holding it
    ino_t inode = 0;   // for a file
};

// nullopt when the source cannot be examined.
std::optional<SourceIdentity> IdentifySource(const std::string& path);

// The whole disk a block device belongs to: itself, or the disk of a partition; nullopt when
// sysfs does not know the device (a network or memory file system has none).
std::optional<dev_t> WholeDiskOf(dev_t device, const std::string& sysRoot);

// True when a file system on `folderDevice` lies on the source: on the same whole disk as a
// source block device, on a loop device (or one of its partitions) that a source image backs or
// over the image of a source loop device, or on a loop device whose image lies on the source.
bool DeviceOnSource(dev_t folderDevice, const SourceIdentity& source, const std::string& sysRoot);

// The file system of path, or of the nearest folder above it that exists; nullopt when none can
// be examined.
std::optional<dev_t> NearestFileSystem(const std::string& path);

// DeviceOnSource for a folder, or for the nearest folder above it that exists (a destination
// may be made by the run).
bool FolderOnSource(const std::string& folder, const std::string& sourcePath, const std::string& sysRoot = "/sys");

// "8:1", as sysfs names a device under dev/block.
std::string DeviceNumberText(dev_t device);

extern const char* const kDestinationOnSourceText;

}  // namespace lumbra
