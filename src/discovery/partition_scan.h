#pragma once
// The search for NetWare partitions in a sector range, for drives whose partition table is
// gone. Runs on a worker thread; reports through ScanEvents.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "discovery/pool_table.h"
#include "discovery/scan_range.h"
#include "disk/access_mode.h"
#include "disk/sector_reader.h"

namespace lumbra {

constexpr uint32_t kMaxSectorsPerRead = 100;
// The scan stops once the table holds more pools than this.
constexpr uint32_t kScanPoolLimit = 48;
// Read-ahead for back-ends where one large read is much cheaper than many small ones (device
// files and images): whole runs up to 1 MiB per call.
constexpr uint32_t kDeviceReadAheadSectors = 2048;
// The read-ahead a scan uses with an access mode: device files read ahead, the BIOS libraries
// (which may not take large counts) do not.
constexpr uint32_t ScanReadAhead(AccessMode accessMode) {
    return accessMode == AccessMode::N ? kDeviceReadAheadSectors : 0;
}

// What a running scan tells its front end, in this order for each run: the sector about to
// be read, the sectors done of the range length, the progress in percent; then, for each
// partition signature found, every pool it added and the new pool count.
class ScanEvents {
public:
    virtual ~ScanEvents() = default;
    virtual void onCurrentSector(uint64_t /*sector*/) {}
    virtual void onStatus(uint64_t /*done*/, uint64_t /*length*/) {}
    virtual void onProgress(uint32_t /*percent*/) {}
    virtual void onPoolAdded(uint32_t /*row*/, const PoolEntry& /*pool*/) {}
    virtual void onPoolsFound(uint32_t /*count*/) {}
};

// The status line of a running scan: "Scanning sector <done> Of <length>".
std::string ScanStatusText(uint64_t done, uint64_t length);

// Percent of the range done, 0 to 100, without overflow.
uint32_t ScanProgressPercent(uint64_t done, uint64_t length);

// What ended a scan.
enum class ScanEnd : uint8_t {
    RangeDone,
    Stopped,    // stopRequested was set by the front end
    PoolLimit,  // more than kScanPoolLimit pools were known
};

// Where a scan of `range` ends: the range's end, or the end of the disk (diskSectors, when
// known) when the range reaches past it; never below the range's start, so a range that starts
// past the disk's end scans nothing.
uint64_t ScanEndOnDisk(const ScanRange& range, std::optional<uint64_t> diskSectors);

// Clears stopRequested and the table, then reads the range in whole runs of sectorsPerRead
// sectors (1 to kMaxSectorsPerRead; so the last run may reach past endSector) and walks the
// partition chain from every sector that carries the partition signature. The range ends at the
// disk's end (ScanEndOnDisk), and the progress counts the sectors up to there. stopRequested is
// polled before every run; the scan sets it itself once more than kScanPoolLimit pools are
// known, and then answers PoolLimit. Whatever ends the scan, the pools found stay in the table.
// With readAheadSectors, as many whole runs as fit in it (never more than the range still
// needs) are read in one call and then examined and reported run by run as before; 0 reads
// each run on its own.
ScanEnd ScanForPartitions(SectorReader& reader, const ScanRange& range, uint32_t sectorsPerRead,
                          std::atomic<int32_t>& stopRequested, PoolTable& pools, ScanEvents& events,
                          uint32_t readAheadSectors = 0);

// The same scan going on at firstSector with the pools already in the table, as a scan stopped
// there left them: the runs and reports are those the whole scan would have had from there on.
// firstSector is taken into the range and down to the start of its run.
ScanEnd ContinueScanForPartitions(SectorReader& reader, const ScanRange& range, uint64_t firstSector,
                                  uint32_t sectorsPerRead, std::atomic<int32_t>& stopRequested, PoolTable& pools,
                                  ScanEvents& events, uint32_t readAheadSectors = 0);

}  // namespace lumbra
