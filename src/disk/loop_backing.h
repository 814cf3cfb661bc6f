#pragma once
// The image file behind a loop device. A write to that file, or to a file system on another loop
// device over it, lands on the disk the loop device shows, so both count as that disk. The file
// is known twice: by the path sysfs gives (which a rename or a delete leaves stale) and by the
// device and inode the loop device holds (which the kernel answers for an open loop device).
#include <sys/types.h>

#include <optional>
#include <string>

namespace lumbra {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct LoopBacking {
    std::string path;                   // as sysfs shows it
    std::optional<FileIdentity> named;  // the file at that path now
    std::optional<FileIdentity> held;   // the file the loop device reads
    bool isFile(const FileIdentity& file) const { return named == file || held == file; }
};

// For a loop device or one of its partitions (by device number); nullopt for any other device
// and for a loop device with no file attached.
std::optional<LoopBacking> LoopBackingOf(dev_t device, const std::string& sysRoot = "/sys");

}  // namespace lumbra
