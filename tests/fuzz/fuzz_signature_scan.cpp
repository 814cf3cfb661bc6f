// The scan for NetWare partition signatures over an image made of the input's bytes. The
// option byte picks the sectors per read (1 to 100) and whether runs are read ahead.
#include <atomic>

#include "discovery/partition_scan.h"
#include "pool_checks.h"

using namespace lumbra;

namespace {

class CheckingEvents : public ScanEvents {
public:
    void onStatus(uint64_t done, uint64_t length) override {
        FUZZ_CHECK(done <= length);
        FUZZ_CHECK(done >= lastDone_);
        lastDone_ = done;
    }
    void onProgress(uint32_t percent) override {
        FUZZ_CHECK(percent <= 100);
        FUZZ_CHECK(percent >= lastPercent_);
        lastPercent_ = percent;
    }
    void onPoolAdded(uint32_t row, const PoolEntry& pool) override {
        FUZZ_CHECK(row == added_);
        FUZZ_CHECK(pool.name.size() <= kMaxPoolNameLength);
        ++added_;
    }
    void onPoolsFound(uint32_t count) override { FUZZ_CHECK(count == added_); }
    uint32_t added() const { return added_; }

private:
    uint64_t lastDone_ = 0;
    uint32_t lastPercent_ = 0;
    uint32_t added_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [options, image] = fuzz::SplitOptionByte(data, size);
    fuzz::CountingReader reader(image);
    const uint32_t sectorsPerRead = 1 + options % kMaxSectorsPerRead;
    const uint32_t readAhead = (options & 0x80) ? kDeviceReadAheadSectors : 0;
    const ScanRange range{0, static_cast<uint32_t>(std::max<uint64_t>(reader.imageSectors(), 1))};
    std::atomic<int32_t> stop{0};
    PoolTable pools;
    CheckingEvents events;
    const ScanEnd end = ScanForPartitions(reader, range, sectorsPerRead, stop, pools, events, readAhead);
    FUZZ_CHECK(end != ScanEnd::Stopped);
    fuzz::CheckPoolTable(pools);
    FUZZ_CHECK(events.added() == pools.count());
    // The range once (the last run may pass its end), and a chain walked from each signature.
    reader.checkBounded(8 * (kMaxPools + 1), kDeviceReadAheadSectors + 4096);
    return 0;
}
