#pragma once
// The pools found on a drive, and the working copy of the one the user chose.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumbra {

constexpr size_t kMaxPools = 50;
constexpr size_t kMaxSegments = 50;
// On-disk pool names keep at most 15 characters.
constexpr size_t kMaxPoolNameLength = 15;

// Where a pool's size was taken from. A pool alone in its partition whose pool information
// gives no usable size (unreadable, 0, or reaching past the disk) is taken to fill its
// partition table entry, or, found by a scan or past its entry, to reach the disk's end.
enum class PoolSizeSource : uint8_t { PoolInformation, PartitionEntry, DiskEnd };

// One row of the pool table. segmentStart and segmentExtent are indexed by segment number and
// both hold exactly segmentCount values (0 to 49; a segment that was not met holds zeros).
struct PoolEntry {
    uint32_t treeItem = 0;       // id of the pool's item in the pool list, 0 until listed
    std::string name;            // 8-bit text, at most kMaxPoolNameLength characters
    uint32_t poolSize = 0;       // in 512-byte sectors
    uint32_t segmentCount = 0;
    std::vector<uint32_t> segmentStart;   // disk sector where each segment's data begins
    std::vector<uint32_t> segmentExtent;  // descriptor value; for a lone segment poolSize + header
    PoolSizeSource sizeSource = PoolSizeSource::PoolInformation;
};

// The length in sectors of a segment whose record holds `extent`: that extent in a pool of
// several segments; in a pool alone in its partition, whose record keeps poolSize + header
// sector there, the pool's size.
inline uint64_t SegmentLength(uint32_t segmentCount, uint32_t poolSize, uint32_t extent) {
    return segmentCount == 1 ? poolSize : extent;
}

// The pool that volume discovery, the mount and the file copy work on.
struct SelectedPool {
    std::string name;
    uint32_t poolSize = 0;
    uint32_t segmentCount = 0;
    std::vector<uint32_t> segmentStart;
    std::vector<uint32_t> segmentExtent;
};

// Up to kMaxPools pools in the order found. Cleared by every listing and every scan.
class PoolTable {
public:
    uint32_t count() const { return static_cast<uint32_t>(pools_.size()); }
    bool full() const { return pools_.size() >= kMaxPools; }
    bool empty() const { return pools_.empty(); }

    // Appends a pool; false (and nothing added) when the table is full. segmentZeroStart: where
    // its segment 0's data begins, remembered even when the pool keeps no segment places (a
    // segment count of 0), so that the same pool met again is known; nullopt takes it from
    // the entry.
    bool add(PoolEntry pool, std::optional<uint32_t> segmentZeroStart = std::nullopt);
    void clear() {
        pools_.clear();
        segmentZeroStarts_.clear();
    }

    // True when a known pool's segment 0 data starts at dataStart: the same pool met again.
    bool knowsDataStart(uint32_t dataStart) const;

    const PoolEntry& operator[](size_t row) const { return pools_[row]; }
    PoolEntry& operator[](size_t row) { return pools_[row]; }
    const std::vector<PoolEntry>& pools() const { return pools_; }

private:
    std::vector<PoolEntry> pools_;
    std::vector<uint32_t> segmentZeroStarts_;  // of the rows that have one, in any order
};

// The working copy of row `selectedPool`; nullopt when there is no such row.
std::optional<SelectedPool> SelectPool(const PoolTable& table, uint32_t selectedPool);

}  // namespace lumbra
