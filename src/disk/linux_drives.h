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

// Rows for the whole disks that sysfs lists (see ListSysfsDisks), read without asking for any
// rights. A removable device without medium is listed as "Media missing or not inserted" with
// zero geometry; a device on a USB bus as "USB Device". The geometry is the one a disk reports
// when this user may open it, else the one of its size.
std::vector<DriveEntry> ListLinuxDisks(const SystemPaths& paths = {});

// Natural order of device names: digit runs compare by value.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace lumbra
