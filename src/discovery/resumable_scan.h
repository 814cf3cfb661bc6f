#pragma once
// The partition scan with its state kept in the store: from the start of its range, or going
// on from a state recorded earlier for the same drive and range.
#include <optional>
#include <string>

#include "discovery/scan_checkpoint.h"

namespace lumbra {

struct ResumableScanRequest {
    ScanRange range;
    uint32_t sectorsPerRead = 0;
    std::string driveIdentity;          // empty: nothing is recorded
    std::optional<ScanState> resumeFrom;  // a state of this drive and range: go on from it
    uint32_t readAheadSectors = 0;
    SecondsClock clock = SteadySeconds();
};

// A state to go on from tells the front end its pools first (onPoolAdded for each, then
// onPoolsFound), then the scan reads on from its next sector with its sectors per read. The
// pool table ends as the scan of the whole range without a stop would have left it.
ScanEnd RunResumableScan(SectorReader& reader, const ResumableScanRequest& request, const ScanStateStore& store,
                         std::atomic<int32_t>& stopRequested, PoolTable& pools, ScanEvents& events);

// The recorded state of this drive and range, if there is one; a file that is not used is
// told through ignoredBecause, as the store tells it.
StoredScanState FindResumableScan(const ScanStateStore& store, const std::string& driveIdentity, const ScanRange& range);

}  // namespace lumbra
