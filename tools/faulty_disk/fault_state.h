#pragma once
// The faulty disk's memory: which attempt each weak sector is at, whether the disk has died, and
// the counters a test reads back (reads, failed reads, bytes, and the sectors read most often).
// Thread-safe; each read is decided and counted under one lock.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "fault_plan.h"

namespace lumbra::faulty {

// Per-sector counts are kept for disks up to this many sectors (8 GiB).
constexpr uint64_t kMostCountedSectors = uint64_t{1} << 24;

struct ReadAnswer {
    bool ok = true;
    uint32_t delayMs = 0;  // to spend before answering
};

class FaultState {
public:
    FaultState(FaultPlan plan, uint64_t diskBytes);

    // Decides and counts one read of the disk; `length` bytes from `offset`, within the disk.
    ReadAnswer read(uint64_t offset, uint64_t length);
    // The counters as one JSON object (docs/faulty_disk.md names the fields).
    std::string countersJson() const;

private:
    bool weakSectorFails(uint64_t first, uint64_t sectors);

    const FaultPlan plan_;
    mutable std::mutex mutex_;
    uint64_t reads_ = 0;
    uint64_t failedReads_ = 0;
    uint64_t bytesServed_ = 0;
    bool dead_ = false;
    std::map<uint64_t, uint32_t> weakAttempts_;
    std::vector<uint32_t> readsOfSector_;
    std::vector<uint32_t> failedReadsOfSector_;
};

}  // namespace lumbra::faulty
