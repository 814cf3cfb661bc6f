#pragma once
// A block device or an image file opened read-only: the only open of a source in the program, or
// a descriptor that the device-opening helper opened so.
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
    int descriptor() const { return fd_; }

private:
    FileDevice(int fd, uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    uint64_t size_;
};

// Size in bytes of an open block device or regular file; 0 when it cannot be told.
uint64_t DeviceSizeBytes(int fd);

}  // namespace lumbra
