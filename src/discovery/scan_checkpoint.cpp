#include "discovery/scan_checkpoint.h"

namespace lumbra {

ScanCheckpoint::ScanCheckpoint(ScanEvents& inner, const ScanStateStore& store, ScanState scan, const PoolTable& pools,
                               SecondsClock clock, double intervalSeconds)
    : inner_(inner), store_(store), scan_(std::move(scan)), pools_(pools), clock_(std::move(clock)),
      interval_(intervalSeconds), lastRecord_(clock_()) {}

void ScanCheckpoint::onCurrentSector(uint64_t sector) {
    lastRun_ = sector;
    if (clock_() - lastRecord_ >= interval_) record(sector);
    inner_.onCurrentSector(sector);
}

void ScanCheckpoint::record(uint64_t nextSector) {
    scan_.nextSector = nextSector;
    scan_.pools = pools_.pools();
    for (PoolEntry& pool : scan_.pools) pool.treeItem = 0;
    store_.save(scan_);
    lastRecord_ = clock_();
}

void ScanCheckpoint::finish(ScanEnd end) {
    const uint64_t next = lastRun_ ? *lastRun_ + scan_.sectorsPerRead : scan_.nextSector;
    if (end == ScanEnd::Stopped && next < scan_.range.endSector) {
        record(next);
        return;
    }
    store_.remove(scan_.driveIdentity);
}

}  // namespace lumbra
