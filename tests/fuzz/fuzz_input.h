#pragma once
// What every fuzz target shares: a check that stops the run when a property fails, and the
// disk image an input describes, read through the real sector reader with a count of the
// sectors asked for.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "disk/device_sector_reader.h"
#include "disk/sector.h"
#include "support/memory_device.h"

// A violated property is a finding like a crash: report where and stop with a trap, so that
// libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                                  \
        }                                                                                      \
    } while (0)

namespace lumbra::fuzz {

// Larger inputs are cut: a few MiB hold every structure the parsers know many times over.
constexpr size_t kMaxImageBytes = 4u << 20;

// The first byte of an input when a target takes options; the rest is the subject.
struct OptionByte {
    uint8_t options = 0;
    std::span<const uint8_t> rest;
};

inline OptionByte SplitOptionByte(const uint8_t* data, size_t size) {
    if (size == 0) return {};
    return {data[0], {data + 1, size - 1}};
}

// The real reader over the image, counting the sectors every call asks for.
class CountingReader : public SectorReader {
public:
    explicit CountingReader(std::span<const uint8_t> image)
        : imageSectors_((std::min(image.size(), kMaxImageBytes) + kSectorSize - 1) / kSectorSize),
          reader_(std::make_unique<test::MemoryDevice>(
              std::vector<uint8_t>(image.begin(), image.begin() + std::min(image.size(), kMaxImageBytes)))) {}

    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
        sectorsRead_ += count;
        return reader_.ReadSectors(sector, count, buffer);
    }
    std::optional<uint64_t> sectorCount() const override { return reader_.sectorCount(); }
    DamageMap* damageMap() const override { return reader_.damageMap(); }
    ReadCoverage* readCoverage() const override { return reader_.readCoverage(); }

    uint64_t imageSectors() const { return imageSectors_; }
    uint64_t sectorsRead() const { return sectorsRead_; }

    // The walks read each structure a bounded number of times: every read is due to a sector of
    // the image (a header, a link, a block of the pool), and a sector of links leads to at most
    // `perSector` sectors read. An unbounded walk (a loop, a re-read per record) breaks this.
    void checkBounded(uint64_t perSector, uint64_t constant) const {
        if (sectorsRead_ > perSector * imageSectors_ + constant) {
            std::fprintf(stderr, "%llu sectors read from an image of %llu\n",
                         static_cast<unsigned long long>(sectorsRead_), static_cast<unsigned long long>(imageSectors_));
            FUZZ_CHECK(!"reads bounded by the image size");
        }
    }

private:
    uint64_t imageSectors_;
    DeviceSectorReader reader_;
    uint64_t sectorsRead_ = 0;
};

}  // namespace lumbra::fuzz
