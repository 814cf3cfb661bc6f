#include "biosemu/bios_disks.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "disk/bios_disk_list.h"

namespace lumbra::biosemu {

namespace {

using bios_disk_list::kDescriptorPrefix;

// The descriptor number of a "/dev/fd/N" entry: decimal digits only, at most INT_MAX; -1 if not.
// (std::from_chars would bring a unique symbol that keeps the library from ever unloading, and
// with it the disks it read.)
int DescriptorNumber(std::string_view digits) {
    if (digits.empty()) return -1;
    long long number = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') return -1;
        number = number * 10 + (digit - '0');
        if (number > INT_MAX) return -1;
    }
    return static_cast<int>(number);
}

// The descriptor a "/dev/fd/N" entry names, taken over as a copy (the program keeps its own): only
// one open read-only on an image file or a block device, so that no descriptor here can write.
std::unique_ptr<FileDevice> CopyNamedDescriptor(std::string_view number) {
    const int fd = DescriptorNumber(number);
    if (fd < 0) return nullptr;
    const int flags = fcntl(fd, F_GETFL);
    struct stat info {};
    if (flags < 0 || (flags & O_ACCMODE) != O_RDONLY || fstat(fd, &info) != 0 ||
        !(S_ISREG(info.st_mode) || S_ISBLK(info.st_mode)))
        return nullptr;
    const int copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    return copy < 0 ? nullptr : FileDevice::Adopt(copy);
}

std::unique_ptr<FileDevice> OpenEntry(const std::string& entry) {
    if (entry.starts_with(kDescriptorPrefix)) return CopyNamedDescriptor(std::string_view(entry).substr(kDescriptorPrefix.size()));
    return FileDevice::Open(entry);
}

std::vector<BiosDisk> loadDisks() {
    std::vector<BiosDisk> disks;
    const char* list = std::getenv(bios_disk_list::kVariable);
    if (!list) return disks;
    std::string_view text = list;
    while (disks.size() < bios_disk_list::kMaxDisks) {
        const size_t end = text.find(bios_disk_list::kSeparator);
        const std::string entry(text.substr(0, end));
        if (!entry.empty()) {
            auto device = OpenEntry(entry);
            const uint64_t sectors = device ? device->sizeBytes() / 512 : 0;
            disks.push_back({entry, std::move(device), sectors});
        }
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return disks;
}

}  // namespace

const std::vector<BiosDisk>& Disks() {
    static const std::vector<BiosDisk> disks = loadDisks();
    return disks;
}

const BiosDisk* DiskOf(uint32_t biosDrive) {
    const uint32_t index = (biosDrive & 0xFF) - 0x80;
    if ((biosDrive & 0xFF) < 0x80 || index >= Disks().size()) return nullptr;
    return &Disks()[index];
}

int ReadLinear(const BiosDisk& disk, uint32_t linear, uint32_t count, uint8_t* buffer) {
    FileDevice* device = disk.device.get();
    if (device && device->readAt(uint64_t{linear} * 512, buffer, static_cast<size_t>(count) * 512)) return 1;
    std::memset(buffer, 0, static_cast<size_t>(count) * 512);
    if (!device) return 0;
    int result = 1;
    for (uint32_t i = 0; i < count; ++i) {
        if (!device->readAt((uint64_t{linear} + i) * 512, buffer + static_cast<size_t>(i) * 512, 512)) result = 0;
    }
    return result;
}

}  // namespace lumbra::biosemu
