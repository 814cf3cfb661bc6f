#include "cli/pool_search.h"

#include "cli/interrupt.h"
#include "cli/progress_line.h"
#include "cli/terminal_text.h"
#include "discovery/pool_listing.h"

namespace lumbra::cli {
namespace {

// The scan's progress as a redrawn line on stderr (nothing when stderr is not a terminal).
class ProgressEvents : public ScanEvents {
public:
    void onCurrentSector(uint64_t sector) override { sector_ = sector; }
    void onStatus(uint64_t done, uint64_t length) override { line_.update(done, length, sector_); }

private:
    ProgressLine line_{"sectors"};
    uint64_t sector_ = 0;
};

// The wizard's range check reads decimal; a hexadecimal number is handed to it in decimal.
std::string DecimalSectorText(const std::string& text) {
    const auto number = ParseSectorArgument(text, 0, UINT64_MAX);
    return number ? std::to_string(*number) : text;
}

// One warning for each pool whose size is not its pool information's.
void WarnGuessedPoolSizes(const PoolTable& pools, std::ostream& err) {
    for (uint32_t row = 0; row < pools.count(); ++row) {
        const PoolEntry& pool = pools[row];
        if (pool.sizeSource == PoolSizeSource::PoolInformation) continue;
        err << "lumbra-nss-cli: warning: pool row " << row << " (" << TerminalText(pool.name)
            << "): its pool information gives no usable size; it is taken to "
            << (pool.sizeSource == PoolSizeSource::PartitionEntry ? "fill its partition table entry"
                                                                  : "reach the disk's end")
            << " (" << pool.poolSize << " sectors)\n";
    }
}

}  // namespace

ScanOption ReadScanOption(const ParsedArguments& arguments) {
    if (!arguments.has("--scan")) return {};
    const auto values = arguments.group("--scan");
    const std::string start = values.size() > 0 ? values[0] : "";
    const std::string end = values.size() > 1 ? values[1] : "";
    const ScanRangeCheck check = ValidateScanRange(DecimalSectorText(start), DecimalSectorText(end));
    if (check.range) return {check.range, ""};
    if (check.error == kStartSectorInvalidText)
        return {std::nullopt, "--scan START must be a sector number from 0 to 4294967295, not \"" + start + "\""};
    if (check.error == kEndSectorInvalidText)
        return {std::nullopt, "--scan END must be a sector number from 0 to 4294967295, not \"" + end + "\""};
    return {std::nullopt, "--scan END (" + end + ") must be greater than START (" + start + ")"};
}

const char* PoolSizeSourceText(PoolSizeSource source) {
    switch (source) {
        case PoolSizeSource::PoolInformation: return "pool information";
        case PoolSizeSource::PartitionEntry: return "partition table entry";
        case PoolSizeSource::DiskEnd: return "disk end";
    }
    return "pool information";
}

ScanEnd FindPools(SectorReader& reader, const std::optional<ScanRange>& range, uint32_t sectorsPerRead,
                  PoolTable& pools, std::ostream& err, uint32_t readAheadSectors, const ScanRecording* recording) {
    if (!range) {
        ListPoolsFromPartitionTable(reader, pools);
        WarnGuessedPoolSizes(pools, err);
        return ScanEnd::RangeDone;
    }
    ProgressEvents events;
    std::atomic<int32_t> stopRequested{0};
    const WorkerStop ctrlC(stopRequested);
    const ScanEnd end =
        recording ? RunResumableScan(reader,
                                     {*range, sectorsPerRead, recording->driveIdentity, recording->resumeFrom,
                                      readAheadSectors, SteadySeconds()},
                                     recording->store, stopRequested, pools, events)
                  : ScanForPartitions(reader, *range, sectorsPerRead, stopRequested, pools, events, readAheadSectors);
    const uint64_t scannedTo = ScanEndOnDisk(*range, reader.sectorCount());
    if (end == ScanEnd::RangeDone && scannedTo == range->startSector)
        err << "lumbra-nss-cli: --scan START (" << range->startSector << ") lies past the disk end (sector "
            << *reader.sectorCount() << "); nothing was scanned\n";
    else if (end == ScanEnd::RangeDone && scannedTo < range->endSector)
        err << "lumbra-nss-cli: scanned to the disk end (sector " << scannedTo << ")\n";
    if (end == ScanEnd::PoolLimit)
        err << "lumbra-nss-cli: the scan ended once more than " << kScanPoolLimit
            << " pools were known (its limit); the pools found until then are listed\n";
    WarnGuessedPoolSizes(pools, err);
    return end;
}

}  // namespace lumbra::cli
