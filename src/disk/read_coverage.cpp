#include "disk/read_coverage.h"

#include <algorithm>

#include "disk/range_merge.h"

namespace lumbra {

void ReadCoverage::addRead(uint64_t first, uint64_t count) {
    if (count == 0) return;
    std::lock_guard lock(mutex_);
    total_ += MergeRange(ends_, first, ClampedEnd(first, count));
    if (ends_.size() > kMaxReadRanges) closeGaps();
}

// Closes the smallest gaps, as many as it takes to leave half the bound: one pass per
// kMaxReadRanges / 2 new ranges at most, so a read costs O(log n) on the whole.
void ReadCoverage::closeGaps() {
    std::vector<uint64_t> gaps;
    gaps.reserve(ends_.size());
    for (auto it = ends_.begin(), next = std::next(it); next != ends_.end(); it = next++) gaps.push_back(next->first - it->second);
    const size_t toClose = ends_.size() - kMaxReadRanges / 2;
    std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(toClose - 1), gaps.end());
    const uint64_t widest = gaps[toClose - 1];
    gapClosed_ = std::max(gapClosed_, widest);
    std::map<uint64_t, uint64_t> closed;
    for (const auto& [first, end] : ends_) {
        if (!closed.empty() && first - std::prev(closed.end())->second <= widest) {
            total_ += first - std::prev(closed.end())->second;
            std::prev(closed.end())->second = end;
        } else {
            closed.emplace_hint(closed.end(), first, end);
        }
    }
    ends_ = std::move(closed);
}

void ReadCoverage::setUntried(std::vector<SectorRange> untried) {
    std::lock_guard lock(mutex_);
    untried_ = std::move(untried);
}

std::vector<SectorRange> ReadCoverage::reads() const {
    std::lock_guard lock(mutex_);
    return RangeList(ends_);
}

std::vector<SectorRange> ReadCoverage::untried() const {
    std::lock_guard lock(mutex_);
    return untried_;
}

uint64_t ReadCoverage::readTotal() const {
    std::lock_guard lock(mutex_);
    return total_;
}

size_t ReadCoverage::rangeCount() const {
    std::lock_guard lock(mutex_);
    return ends_.size();
}

uint64_t ReadCoverage::gapClosed() const {
    std::lock_guard lock(mutex_);
    return gapClosed_;
}

}  // namespace lumbra
