#include "disk/loop_backing.h"

#include <fcntl.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "disk/source_disk.h"

namespace lumbra {

namespace fs = std::filesystem;

namespace {

// The kernel gives the backing file's device in its own 32-bit encoding.
dev_t KernelDeviceNumber(uint64_t encoded) {
    const unsigned major = static_cast<unsigned>((encoded & 0xfff00u) >> 8);
    const unsigned minor = static_cast<unsigned>((encoded & 0xffu) | ((encoded >> 12) & 0xfff00u));
    return makedev(major, minor);
}

// Asked of the loop device's node in /dev, when it is the device sysfs names (and may be opened).
std::optional<FileIdentity> HeldFile(const std::string& name, dev_t loop) {
    const int fd = ::open(("/dev/" + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    loop_info64 info {};
    const bool asked = ::fstat(fd, &status) == 0 && S_ISBLK(status.st_mode) && status.st_rdev == loop &&
                       ::ioctl(fd, LOOP_GET_STATUS64, &info) == 0;
    ::close(fd);
    if (!asked) return std::nullopt;
    return FileIdentity{KernelDeviceNumber(info.lo_device), static_cast<ino_t>(info.lo_inode)};
}

}  // namespace

std::optional<LoopBacking> LoopBackingOf(dev_t device, const std::string& sysRoot) {
    const auto disk = WholeDiskOf(device, sysRoot);
    if (!disk) return std::nullopt;
    std::error_code error;
    const fs::path entry = fs::canonical(fs::path(sysRoot) / "dev" / "block" / DeviceNumberText(*disk), error);
    if (error) return std::nullopt;
    std::ifstream in(entry / "loop" / "backing_file");
    LoopBacking backing;
    if (!std::getline(in, backing.path) || backing.path.empty()) return std::nullopt;
    struct stat status {};
    if (::stat(backing.path.c_str(), &status) == 0) backing.named = FileIdentity{status.st_dev, status.st_ino};
    backing.held = HeldFile(entry.filename().string(), *disk);
    return backing;
}

}  // namespace lumbra
