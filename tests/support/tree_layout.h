#pragma once
// The shape of a B-tree before it is written: records packed into leaves, and branch blocks
// over the leaves, numbered in the order a breadth-first walk meets them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "support/nss_image_plan.h"

namespace lumbra::test {

struct LeafRange {
    uint32_t firstRecord = 0;
    uint32_t recordCount = 0;
};

struct TreeLayout {
    std::vector<LeafRange> leaves;               // walk order
    std::vector<std::vector<uint32_t>> branches; // walk order; children as node numbers
    // Node numbers: branches are 0 .. branches.size() - 1, then the leaves follow.
    uint32_t leafNode(size_t leaf) const { return static_cast<uint32_t>(branches.size() + leaf); }
    size_t nodeCount() const { return branches.size() + leaves.size(); }
};

// First byte of the records of a leaf.
size_t leafRecordStart(const TreeShape& shape);

// Packs `recordCount` records, the i-th `recordLength(i)` bytes long, into leaves; each leaf
// keeps `reserve(leaf)` bytes free at its end. Throws std::invalid_argument when one record does
// not fit an empty leaf or the root branch has no room for a loop entry.
TreeLayout layoutTree(size_t recordCount, const std::function<size_t(size_t)>& recordLength,
                      const std::function<size_t(size_t)>& reserve, const TreeShape& shape);

// Records of a leaf must end by this offset (room stays for a zero length after them).
constexpr size_t kLeafRecordsEnd = 4088;

}  // namespace lumbra::test
