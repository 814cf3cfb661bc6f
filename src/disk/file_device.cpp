#include "disk/file_device.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumbra {

uint64_t DeviceSizeBytes(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0) return 0;
    if (S_ISBLK(info.st_mode)) {
        uint64_t bytes = 0;
        if (ioctl(fd, BLKGETSIZE64, &bytes) == 0) return bytes;
        return 0;
    }
    return info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

// Only what holds sectors to read is a disk: an image file or a block device (a Linux disk is
// one). A pipe would block the open and every read, and a character device such as /dev/zero
// never ends; O_NONBLOCK lets the open return so that fstat can tell.
std::unique_ptr<FileDevice> FileDevice::Open(const std::string& path, std::string* errorText) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errorText) *errorText = std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    const char* refusal = nullptr;
    int reason = 0;
    if (fstat(fd, &info) != 0) {
        reason = errno;
        refusal = std::strerror(reason);
    } else if (S_ISDIR(info.st_mode)) {
        reason = EISDIR;
        refusal = "is a folder, not a disk or an image";
    } else if (!S_ISREG(info.st_mode) && !S_ISBLK(info.st_mode)) {
        reason = EINVAL;
        refusal = "is neither a disk nor an image file (a pipe, a socket or a character device)";
    } else if (const int flags = fcntl(fd, F_GETFL); flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        reason = errno;
        refusal = std::strerror(reason);
    }
    if (refusal) {
        if (errorText) *errorText = refusal;
        ::close(fd);
        errno = reason;
        return nullptr;
    }
    return std::unique_ptr<FileDevice>(new FileDevice(fd, DeviceSizeBytes(fd)));
}

std::unique_ptr<FileDevice> FileDevice::Adopt(int fd) {
    return std::unique_ptr<FileDevice>(new FileDevice(fd, DeviceSizeBytes(fd)));
}

FileDevice::~FileDevice() { ::close(fd_); }

bool FileDevice::readAt(uint64_t offset, uint8_t* buffer, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd_, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        // A short read at the end of the medium counts as a failure: the bytes past it were
        // never read and must not pass as data.
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

}  // namespace lumbra
