#pragma once
// What tells a drive from every other one across runs, so that work left unfinished on it is
// found again and never taken for another drive's: a block device by its serial number in sysfs
// and its size, an image file by its path, size and modification time (a changed image is
// another drive).
#include <string>

namespace lumbra {

// "device serial=<serial> sectors=<n>" or "image path=<absolute path> bytes=<n> mtime=<ns>";
// empty when the path cannot be examined. A device without a serial in sysfs (a loop device)
// is known by the file behind it, or else by its node's path. sysRoot: where sysfs is.
std::string DriveIdentity(const std::string& path, const std::string& sysRoot = "/sys");

}  // namespace lumbra
