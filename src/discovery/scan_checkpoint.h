#pragma once
// Keeps a running scan's state in the store, so that a scan cut off by Stop, Ctrl-C, a crash
// or a power cut can go on where it was. It sits between the scan and the front end's events:
// at the start of a run (when every earlier run is examined and the pool table holds all it
// found) it records the state, at most once per interval; at the end it records where a
// stopped scan is to go on, and forgets a scan that ran to its end.
#include <optional>

#include "discovery/partition_scan.h"
#include "discovery/scan_state_store.h"
#include "disk/seconds_clock.h"

namespace lumbra {

class ScanCheckpoint : public ScanEvents {
public:
    // scan: the drive, range and sectors per read of the scan, and where it starts.
    ScanCheckpoint(ScanEvents& inner, const ScanStateStore& store, ScanState scan, const PoolTable& pools,
                   SecondsClock clock = SteadySeconds(), double intervalSeconds = 3);

    void onCurrentSector(uint64_t sector) override;
    void onStatus(uint64_t done, uint64_t length) override { inner_.onStatus(done, length); }
    void onProgress(uint32_t percent) override { inner_.onProgress(percent); }
    void onPoolAdded(uint32_t row, const PoolEntry& pool) override { inner_.onPoolAdded(row, pool); }
    void onPoolsFound(uint32_t count) override { inner_.onPoolsFound(count); }

    // The scan ended so: a stopped scan's state names the run after the last one examined; a
    // scan that covered its range or met the pool limit leaves no state.
    void finish(ScanEnd end);

private:
    void record(uint64_t nextSector);

    ScanEvents& inner_;
    const ScanStateStore& store_;
    ScanState scan_;
    const PoolTable& pools_;
    SecondsClock clock_;
    double interval_;
    double lastRecord_;
    std::optional<uint64_t> lastRun_;
};

}  // namespace lumbra
