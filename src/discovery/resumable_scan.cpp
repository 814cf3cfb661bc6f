#include "discovery/resumable_scan.h"

#include <algorithm>

namespace lumbra {

ScanEnd RunResumableScan(SectorReader& reader, const ResumableScanRequest& request, const ScanStateStore& store,
                         std::atomic<int32_t>& stopRequested, PoolTable& pools, ScanEvents& events) {
    pools.clear();
    ScanState scan{request.driveIdentity, request.range,
                   std::clamp<uint32_t>(request.sectorsPerRead, 1, kMaxSectorsPerRead), request.range.startSector, {}};
    if (request.resumeFrom) {
        scan.sectorsPerRead = request.resumeFrom->sectorsPerRead;
        scan.nextSector = request.resumeFrom->nextSector;
        for (const PoolEntry& pool : request.resumeFrom->pools) {
            if (!pools.add(pool)) break;
            events.onPoolAdded(pools.count() - 1, pools[pools.count() - 1]);
        }
        events.onPoolsFound(pools.count());
    }
    if (request.driveIdentity.empty())
        return ContinueScanForPartitions(reader, scan.range, scan.nextSector, scan.sectorsPerRead, stopRequested, pools,
                                         events, request.readAheadSectors);
    ScanCheckpoint checkpoint(events, store, scan, pools, request.clock);
    const ScanEnd end = ContinueScanForPartitions(reader, scan.range, scan.nextSector, scan.sectorsPerRead,
                                                  stopRequested, pools, checkpoint, request.readAheadSectors);
    checkpoint.finish(end);
    return end;
}

StoredScanState FindResumableScan(const ScanStateStore& store, const std::string& driveIdentity, const ScanRange& range) {
    StoredScanState stored = store.load(driveIdentity);
    if (stored.state && (stored.state->range.startSector != range.startSector ||
                         stored.state->range.endSector != range.endSector))
        stored.state.reset();
    return stored;
}

}  // namespace lumbra
