#include "discovery/partition_scan.h"

#include <algorithm>
#include <vector>

#include "discovery/partition_chain.h"
#include "discovery/partition_header.h"
#include "discovery/sector_io.h"
#include "disk/sector.h"

namespace lumbra {
namespace {

// Hands out the runs of the scan one at a time, reading runsPerRead whole runs per call.
class RunReader {
public:
    RunReader(SectorReader& reader, uint32_t perRead, uint32_t runsPerRead)
        : reader_(reader), perRead_(perRead), runsPerRead_(runsPerRead),
          buffer_(size_t{perRead} * runsPerRead * kSectorSize, 0) {}

    // The run that starts at `sector`; reads ahead from there when it is not buffered yet.
    ByteView run(uint64_t sector, uint64_t endSector) {
        if (sector < first_ || sector >= first_ + uint64_t{runs_} * perRead_) {
            const uint64_t runsLeft = (endSector - sector + perRead_ - 1) / perRead_;
            runs_ = static_cast<uint32_t>(std::min<uint64_t>(runsLeft, runsPerRead_));
            first_ = sector;
            reader_.ReadSectors(sector, runs_ * perRead_, buffer_.data());
            // Any sector of the range may be a header: one that cannot be read may hide a pool.
            NoteMetadataRead(reader_, sector, runs_ * perRead_);
        }
        const size_t offset = static_cast<size_t>(sector - first_) * kSectorSize;
        return ByteView(buffer_).subspan(offset, size_t{perRead_} * kSectorSize);
    }

private:
    SectorReader& reader_;
    uint32_t perRead_;
    uint32_t runsPerRead_;
    std::vector<uint8_t> buffer_;
    uint64_t first_ = 0;
    uint32_t runs_ = 0;
};

// Examines the sectors of one run; false once the pool limit stopped the scan.
bool ExamineRun(SectorReader& reader, ByteView run, uint64_t firstSector,
                std::atomic<int32_t>& stopRequested, PoolTable& pools, ScanEvents& events) {
    const size_t sectors = run.size() / kSectorSize;
    for (size_t i = 0; i < sectors; ++i) {
        if (!HasPartitionSignature(run.subspan(i * kSectorSize, kSectorSize))) continue;
        const uint32_t before = pools.count();
        WalkPartitionChain(reader, {firstSector + i, std::nullopt}, pools);
        for (uint32_t row = before; row < pools.count(); ++row) events.onPoolAdded(row, pools[row]);
        events.onPoolsFound(pools.count());
        if (pools.count() > kScanPoolLimit) {
            stopRequested.store(1);
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ScanStatusText(uint64_t done, uint64_t length) {
    return "Scanning sector " + std::to_string(done) + " Of " + std::to_string(length);
}

uint32_t ScanProgressPercent(uint64_t done, uint64_t length) {
    if (length == 0) return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(done * 100 / length, 100));
}

uint64_t ScanEndOnDisk(const ScanRange& range, std::optional<uint64_t> diskSectors) {
    const uint64_t end = std::min<uint64_t>(range.endSector, diskSectors.value_or(UINT64_MAX));
    return std::max<uint64_t>(end, range.startSector);
}

ScanEnd ScanForPartitions(SectorReader& reader, const ScanRange& range, uint32_t sectorsPerRead,
                          std::atomic<int32_t>& stopRequested, PoolTable& pools, ScanEvents& events,
                          uint32_t readAheadSectors) {
    pools.clear();
    return ContinueScanForPartitions(reader, range, range.startSector, sectorsPerRead, stopRequested, pools, events,
                                     readAheadSectors);
}

ScanEnd ContinueScanForPartitions(SectorReader& reader, const ScanRange& range, uint64_t firstSector,
                                  uint32_t sectorsPerRead, std::atomic<int32_t>& stopRequested, PoolTable& pools,
                                  ScanEvents& events, uint32_t readAheadSectors) {
    const uint32_t perRead = std::clamp<uint32_t>(sectorsPerRead, 1, kMaxSectorsPerRead);
    const uint32_t runsPerRead =
        std::max<uint32_t>(1, std::min(readAheadSectors, kDeviceReadAheadSectors) / perRead);
    stopRequested.store(0);
    RunReader runs(reader, perRead, runsPerRead);
    // 64-bit, so that a range ending at the last 32-bit sector still ends.
    const uint64_t end = ScanEndOnDisk(range, reader.sectorCount());
    const uint64_t length = end - range.startSector;
    const uint64_t into = std::clamp<uint64_t>(firstSector, range.startSector, end) - range.startSector;
    uint64_t done = into / perRead * perRead;
    for (uint64_t sector = range.startSector + done; sector < end && stopRequested.load() == 0;
         sector += perRead, done += perRead) {
        events.onCurrentSector(sector);
        events.onStatus(done, length);
        events.onProgress(ScanProgressPercent(done, length));
        const ByteView run = runs.run(sector, end);
        if (!ExamineRun(reader, run, sector, stopRequested, pools, events)) return ScanEnd::PoolLimit;
    }
    return stopRequested.load() != 0 ? ScanEnd::Stopped : ScanEnd::RangeDone;
}

}  // namespace lumbra
