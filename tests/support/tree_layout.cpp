#include "support/tree_layout.h"

#include <stdexcept>

#include "support/nss_format.h"

namespace lumbra::test {

size_t leafRecordStart(const TreeShape& shape) {
    return shape.recordsAt40 ? format::node::kRecordsAt40 : format::node::kRecordsAt56;
}

namespace {

std::vector<LeafRange> packLeaves(size_t recordCount, const std::function<size_t(size_t)>& recordLength,
                                  const std::function<size_t(size_t)>& reserve, const TreeShape& shape) {
    std::vector<LeafRange> leaves(1);
    size_t used = leafRecordStart(shape);
    for (size_t i = 0; i < recordCount; ++i) {
        const size_t length = recordLength(i);
        const bool countFull = shape.recordsPerLeaf && leaves.back().recordCount >= shape.recordsPerLeaf;
        if (countFull || used + length > kLeafRecordsEnd - reserve(leaves.size() - 1)) {
            if (leaves.back().recordCount == 0) throw std::invalid_argument("a leaf record does not fit a leaf");
            leaves.push_back({static_cast<uint32_t>(i), 0});
            used = leafRecordStart(shape);
            if (used + length > kLeafRecordsEnd - reserve(leaves.size() - 1))
                throw std::invalid_argument("a leaf record does not fit a leaf");
        }
        used += length;
        ++leaves.back().recordCount;
    }
    return leaves;
}

// Branch levels from the top, as counts of nodes per level.
std::vector<size_t> branchLevels(size_t leafCount, const TreeShape& shape) {
    std::vector<size_t> levels;
    if (shape.links == TreeLinks::LinkRecords) return levels;
    if (leafCount == 1 && !shape.branchOverSingleLeaf) return levels;
    size_t below = leafCount;
    do {
        below = (below + shape.branchFanout - 1) / shape.branchFanout;
        levels.insert(levels.begin(), below);
    } while (below > 1);
    return levels;
}

}  // namespace

TreeLayout layoutTree(size_t recordCount, const std::function<size_t(size_t)>& recordLength,
                      const std::function<size_t(size_t)>& reserve, const TreeShape& shape) {
    if (shape.branchFanout == 0 || shape.branchFanout > format::node::kBranchEntriesMax)
        throw std::invalid_argument("branch fanout must be 1 to 338");
    TreeLayout layout;
    layout.leaves = packLeaves(recordCount, recordLength, reserve, shape);
    const std::vector<size_t> levels = branchLevels(layout.leaves.size(), shape);
    size_t levelStart = 0;  // node number of the first node of the current level
    for (size_t level = 0; level < levels.size(); ++level) {
        const size_t below = level + 1 < levels.size() ? levels[level + 1] : layout.leaves.size();
        const size_t belowStart = levelStart + levels[level];
        for (size_t j = 0; j < levels[level]; ++j) {
            std::vector<uint32_t> children;
            for (size_t c = j * shape.branchFanout; c < std::min(below, (j + 1) * shape.branchFanout); ++c)
                children.push_back(static_cast<uint32_t>(belowStart + c));
            layout.branches.push_back(std::move(children));
        }
        levelStart = belowStart;
    }
    if (shape.branchLinksToRoot && !layout.branches.empty()) {
        if (layout.branches[0].size() >= format::node::kBranchEntriesMax)
            throw std::invalid_argument("the root branch has no room for a loop entry");
        layout.branches[0].push_back(0);
    }
    return layout;
}

}  // namespace lumbra::test
