#include "cli/pool_search.h"

#include "cli/interrupt.h"
#include "cli/progress_line.h"
#include "discovery/partition_scan.h"
#include "discovery/pool_listing.h"

namespace lumbra::cli {
namespace {

// The scan's progress as a redrawn line on stderr (nothing when stderr is not a terminal).
class ProgressEvents : public ScanEvents {
public:
    void onStatus(uint64_t done, uint64_t length) override { line_.update(done, length); }

private:
    ProgressLine line_{"sectors"};
};

}  // namespace

ScanOption ReadScanOption(const ParsedArguments& arguments) {
    if (!arguments.has("--scan")) return {};
    const auto values = arguments.group("--scan");
    const std::string start = values.size() > 0 ? values[0] : "";
    const std::string end = values.size() > 1 ? values[1] : "";
    const ScanRangeCheck check = ValidateScanRange(start, end);
    if (check.range) return {check.range, ""};
    if (check.error == kStartSectorInvalidText)
        return {std::nullopt, "--scan START must be a sector number from 0 to 4294967295, not \"" + start + "\""};
    if (check.error == kEndSectorInvalidText)
        return {std::nullopt, "--scan END must be a sector number from 0 to 4294967295, not \"" + end + "\""};
    return {std::nullopt, "--scan END (" + end + ") must be greater than START (" + start + ")"};
}

void FindPools(SectorReader& reader, const std::optional<ScanRange>& range, uint32_t sectorsPerRead,
               PoolTable& pools, uint32_t readAheadSectors) {
    if (!range) {
        ListPoolsFromPartitionTable(reader, pools);
        return;
    }
    ProgressEvents events;
    ScanForPartitions(reader, *range, sectorsPerRead, InterruptFlag(), pools, events, readAheadSectors);
}

}  // namespace lumbra::cli
