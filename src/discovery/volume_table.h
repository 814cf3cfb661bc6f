#pragma once
// The volumes found in the selected pool, the pool's object tree, and the queue of B-tree
// blocks that volume discovery and the mount walk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace lumbra {

constexpr size_t kMaxVolumes = 49;
constexpr size_t kMaxVolumeNameLength = 48;

struct VolumeEntry {
    std::string name;          // 8-bit text, at most kMaxVolumeNameLength characters
    uint64_t rootSector = 0;   // disk sector of the volume's root block, already mapped
    uint32_t treeItem = 0;     // id of the volume's item in the volume list, 0 until listed
};

// Up to kMaxVolumes volumes in the order found. Refilled by every discovery.
class VolumeTable {
public:
    uint32_t count() const { return static_cast<uint32_t>(volumes_.size()); }
    bool full() const { return volumes_.size() >= kMaxVolumes; }
    bool empty() const { return volumes_.empty(); }

    // Appends a volume; false (and nothing added) when the table is full.
    bool add(VolumeEntry volume);
    void clear() { volumes_.clear(); }

    const VolumeEntry& operator[](size_t row) const { return volumes_[row]; }
    VolumeEntry& operator[](size_t row) { return volumes_[row]; }
    const std::vector<VolumeEntry>& volumes() const { return volumes_; }

private:
    std::vector<VolumeEntry> volumes_;
};

// Where the selected pool's object tree was found; kept for the snapshot.
struct ObjectTree {
    uint32_t superblockSector = 0;  // segmentStart[0] + 8
    uint64_t rootSector = 0;        // mapped disk sector of the tree's root node
};

// Disk sectors of B-tree blocks to visit, appended at the tail and walked from the head while
// it grows. Nothing is removed during a walk, so the queue is also the list of blocks visited;
// a sector already queued is not queued again, which is what ends a walk over looping links.
class BlockQueue {
public:
    // Appends the sector unless it is already queued; true when appended. A failed allocation
    // throws std::bad_alloc and leaves the queue as it was.
    bool append(uint64_t sector);
    bool contains(uint64_t sector) const { return queued_.count(sector) != 0; }
    size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    uint64_t operator[](size_t index) const { return order_[index]; }
    void clear();

private:
    std::vector<uint64_t> order_;
    std::unordered_set<uint64_t> queued_;
};

}  // namespace lumbra
