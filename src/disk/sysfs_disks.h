#pragma once
// What sysfs tells of the whole disks of this machine, read without opening any of them: listing
// the disks needs no rights, so no password is asked before the user chooses one.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "disk/linux_drives.h"

namespace lumbra {

struct SysfsDisk {
    std::string name;        // "sda", "loop3": the name under /sys/block and /dev
    std::string devicePath;  // the node under the device folder
    std::string model;       // the device's model, an image's file name for a loop device, else the name
    uint64_t sizeBytes = 0;  // 0: no medium (or a loop device without a backing file)
    bool removable = false;
    bool readOnly = false;
    bool usb = false;  // on a USB bus
};

// The whole disks that have a node under the device folder (or no medium), attached loop devices included, ram
// disks and partitions excluded, in natural name order (sda, sdb, ..., loop2, loop10).
std::vector<SysfsDisk> ListSysfsDisks(const SystemPaths& paths);

// The size sysfs gives of the block device at `devicePath` (found by its device number, under
// sysDevBlock, /sys/dev/block on a real machine), without opening it; nullopt for what is no block device or has no size there.
std::optional<uint64_t> SysfsBlockDeviceSize(const std::string& devicePath, const std::string& sysDevBlock = "/sys/dev/block");

}  // namespace lumbra
