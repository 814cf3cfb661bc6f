#pragma once
// The whole disks of this machine, as /sys/block lists them.
#include <string>
#include <vector>

#include "disk/drive_table.h"

namespace lumbra {

struct SystemPaths {
    std::string sysBlock = "/sys/block";  // one folder per whole disk
    std::string dev = "/dev";             // the device nodes, by the same names
};

// Rows for the whole disks that can be opened read-only, attached loop devices included, ram
// disks and partitions excluded, in natural name order (sda, sdb, ..., loop2, loop10). A
// removable device without medium is listed as "Media missing or not inserted" with zero
// geometry; a device on a USB bus as "USB Device". Disks that exist but that this user may not
// open (reading disks needs administrator rights) are left out and counted in `needingRights`.
std::vector<DriveEntry> ListLinuxDisks(const SystemPaths& paths = {}, size_t* needingRights = nullptr);

// Natural order of device names: digit runs compare by value.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace lumbra
