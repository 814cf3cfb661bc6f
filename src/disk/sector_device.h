#pragma once
#include <cstddef>
#include <cstdint>

namespace lumbra {

// One opened source (a block device, an image file, or a test device). Read-only by
// construction: there is no write operation. readAt is one attempt; it succeeds only when the
// whole length was read.
class SectorDevice {
public:
    virtual ~SectorDevice() = default;
    virtual bool readAt(uint64_t offset, uint8_t* buffer, size_t length) = 0;
    virtual uint64_t sizeBytes() const = 0;
    // True once the source has gone away (unplugged, switched off, its server ended): every
    // later read fails at once, so that nothing waits on it or retries it.
    virtual bool gone() const { return false; }
};

}  // namespace lumbra
