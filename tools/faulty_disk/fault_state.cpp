#include "fault_state.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace lumbra::faulty {

namespace {

constexpr uint64_t kSector = 512;

// The sector of the largest count, and that count; (0, 0) when nothing was counted.
std::pair<uint64_t, uint32_t> Most(const std::vector<uint32_t>& counts) {
    const auto most = std::max_element(counts.begin(), counts.end());
    if (most == counts.end()) return {0, 0};
    return {static_cast<uint64_t>(most - counts.begin()), *most};
}

}  // namespace

FaultState::FaultState(FaultPlan plan, uint64_t diskBytes) : plan_(std::move(plan)) {
    const uint64_t sectors = (diskBytes + kSector - 1) / kSector;
    if (sectors <= kMostCountedSectors) {
        readsOfSector_.assign(sectors, 0);
        failedReadsOfSector_.assign(sectors, 0);
    }
}

// Every weak sector the read touches takes one attempt; the read fails while any of them is
// still short of the attempt it reads on.
bool FaultState::weakSectorFails(uint64_t first, uint64_t sectors) {
    bool fails = false;
    for (const WeakArea& weak : plan_.weak) {
        if (!weak.area.touches(first, sectors)) continue;
        const uint64_t from = std::max(first, weak.area.start);
        const uint64_t to = std::min(first + sectors, weak.area.start + weak.area.count);
        for (uint64_t sector = from; sector < to; ++sector)
            fails = ++weakAttempts_[sector] < weak.readsOnAttempt || fails;
    }
    return fails;
}

ReadAnswer FaultState::read(uint64_t offset, uint64_t length) {
    std::lock_guard lock(mutex_);
    ReadAnswer answer;
    if (length == 0) return answer;
    const uint64_t first = offset / kSector;
    const uint64_t sectors = (offset + length + kSector - 1) / kSector - first;
    ++reads_;
    dead_ = dead_ || (plan_.dieAfterReads && reads_ > *plan_.dieAfterReads) ||
            (plan_.dieAfterBytes && bytesServed_ + length > *plan_.dieAfterBytes);
    bool fails = dead_;
    for (const SectorArea& area : plan_.unreadable) fails = fails || area.touches(first, sectors);
    fails = weakSectorFails(first, sectors) || fails;
    for (const SlowArea& slow : plan_.slow)
        if (slow.area.touches(first, sectors)) answer.delayMs = std::max(answer.delayMs, slow.delayMs);
    for (uint64_t sector = first; sector < first + sectors && sector < readsOfSector_.size(); ++sector) {
        ++readsOfSector_[sector];
        if (fails) ++failedReadsOfSector_[sector];
    }
    if (fails) {
        ++failedReads_;
        answer.ok = false;
        answer.delayMs += plan_.failDelayMs;
    } else {
        bytesServed_ += length;
    }
    return answer;
}

std::string FaultState::countersJson() const {
    std::lock_guard lock(mutex_);
    const auto [readMost, reads] = Most(readsOfSector_);
    const auto [failedMost, failed] = Most(failedReadsOfSector_);
    const nlohmann::json counters = {{"reads", reads_},
                                     {"failedReads", failedReads_},
                                     {"bytes", bytesServed_},
                                     {"dead", dead_},
                                     {"perSectorCounts", !readsOfSector_.empty()},
                                     {"mostReadsOfOneSector", reads},
                                     {"sectorReadMost", readMost},
                                     {"mostFailedReadsOfOneSector", failed},
                                     {"sectorFailedMost", failedMost}};
    return counters.dump() + "\n";
}

}  // namespace lumbra::faulty
