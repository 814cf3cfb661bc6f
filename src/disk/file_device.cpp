#include "disk/file_device.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

namespace {

constexpr size_t kMemoryAlignment = 4096;

// Whole reads of `length` bytes at `offset`; false at the first error or at the end of the medium.
bool ReadWhole(int fd, uint64_t offset, uint8_t* buffer, size_t length) {
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        // A short read at the end of the medium counts as a failure: the bytes past it were
        // never read and must not pass as data.
        if (got == 0) errno = 0;
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

// The logical block size of a block device that now reads around the cache; 0 for a file, or
// where direct reads cannot be had.
size_t TurnOnDirectReads(int fd) {
    struct stat info {};
    int block = 0;
    if (fstat(fd, &info) != 0 || !S_ISBLK(info.st_mode) || ioctl(fd, BLKSSZGET, &block) != 0) return 0;
    if (block < 512 || block > static_cast<int>(kMemoryAlignment) || (block & (block - 1)) != 0) return 0;
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_DIRECT) != 0) return 0;
    return static_cast<size_t>(block);
}

// The answers of a source that is no longer there, as opposed to one that failed a read.
bool Vanished(int error) {
    return error == ENODEV || error == ENXIO || error == ENOTCONN || error == ESHUTDOWN || error == ENOMEDIUM;
}

struct FreeMemory {
    void operator()(uint8_t* memory) const { std::free(memory); }
};

}  // namespace

FileDevice::FileDevice(int fd, uint64_t size) : fd_(fd), size_(size), directBlock_(TurnOnDirectReads(fd)) {}

std::unique_ptr<FileDevice> FileDevice::Adopt(int fd) {
    return std::unique_ptr<FileDevice>(new FileDevice(fd, DeviceSizeBytes(fd)));
}

FileDevice::~FileDevice() { ::close(fd_); }

bool FileDevice::readAt(uint64_t offset, uint8_t* buffer, size_t length) {
    if (gone_.load()) return false;
    if (directBlock_ ? readDirect(offset, buffer, length) : ReadWhole(fd_, offset, buffer, length)) return true;
    if (Vanished(errno)) gone_.store(true);
    return false;
}

// The whole logical blocks around the asked bytes, into aligned memory; only the asked bytes are
// handed on, so that a failed read leaves nothing of an earlier one in the caller's buffer.
bool FileDevice::readDirect(uint64_t offset, uint8_t* buffer, size_t length) {
    const uint64_t first = offset / directBlock_ * directBlock_;
    const uint64_t end = (offset + length + directBlock_ - 1) / directBlock_ * directBlock_;
    const size_t span = static_cast<size_t>(end - first);
    std::unique_ptr<uint8_t, FreeMemory> aligned(
        static_cast<uint8_t*>(std::aligned_alloc(kMemoryAlignment, (span + kMemoryAlignment - 1) / kMemoryAlignment * kMemoryAlignment)));
    if (!aligned) return false;
    if (!ReadWhole(fd_, first, aligned.get(), span)) return false;
    std::memcpy(buffer, aligned.get() + (offset - first), length);
    return true;
}

}  // namespace lumbra
