#pragma once
// A block device or an image file opened read-only: the only open of a source in the program, or
// a descriptor that the device-opening helper opened so. A block device is read around the page
// cache (direct I/O, through an aligned buffer of whole logical blocks): a read through the cache
// fails for a whole page when one sector of it is bad, and the kernel's own read-ahead and
// retries would ask the failing disk again and again behind the program's back.
#include <atomic>
#include <memory>
#include <string>

#include "disk/sector_device.h"

namespace lumbra {

class FileDevice : public SectorDevice {
public:
    // nullptr when the path cannot be opened for reading; errorText then says why.
    // errno stays as the failed open left it.
    static std::unique_ptr<FileDevice> Open(const std::string& path, std::string* errorText = nullptr);
    // Takes over a descriptor opened read-only.
    static std::unique_ptr<FileDevice> Adopt(int fd);
    ~FileDevice() override;
    FileDevice(const FileDevice&) = delete;
    FileDevice& operator=(const FileDevice&) = delete;

    bool readAt(uint64_t offset, uint8_t* buffer, size_t length) override;
    uint64_t sizeBytes() const override { return size_; }
    bool gone() const override { return gone_.load(); }
    int descriptor() const { return fd_; }

    // The logical block size a direct read is aligned to; 0 when reads go through the cache.
    size_t directBlock() const { return directBlock_; }

private:
    FileDevice(int fd, uint64_t size);
    bool readDirect(uint64_t offset, uint8_t* buffer, size_t length);

    int fd_;
    uint64_t size_;
    size_t directBlock_ = 0;
    std::atomic<bool> gone_{false};
};

// Size in bytes of an open block device or regular file; 0 when it cannot be told.
uint64_t DeviceSizeBytes(int fd);

}  // namespace lumbra
