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

// Disks that exist but whose open was refused, by what the user can do about it.
struct UnopenedDisks {
    size_t needingRights = 0;  // refused to a user who is not the administrator: sudo helps
    size_t refused = 0;        // refused to the administrator too (a security policy, a container)
};

// Counts an open that failed with openError: EACCES and EPERM are refusals, any other error
// (a node that vanished, a device gone) is not counted.
void CountRefusedOpen(int openError, bool administrator, UnopenedDisks& unopened);

// Rows for the whole disks that can be opened read-only, attached loop devices included, ram
// disks and partitions excluded, in natural name order (sda, sdb, ..., loop2, loop10). A
// removable device without medium is listed as "Media missing or not inserted" with zero
// geometry; a device on a USB bus as "USB Device". Disks whose open is refused are left out
// and counted in `unopened`.
std::vector<DriveEntry> ListLinuxDisks(const SystemPaths& paths = {}, UnopenedDisks* unopened = nullptr);

// Natural order of device names: digit runs compare by value.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace lumbra
