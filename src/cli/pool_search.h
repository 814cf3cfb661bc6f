#pragma once
// The pool list that the pools and volumes commands share: from the partition table, or from
// a scan of --scan START END with a progress line.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "cli/arguments.h"
#include "discovery/partition_scan.h"
#include "discovery/pool_table.h"
#include "discovery/resumable_scan.h"
#include "discovery/scan_range.h"
#include "disk/access_mode.h"
#include "disk/sector_reader.h"

namespace lumbra::cli {

// The range of --scan, checked as the wizard checks it; error is set when it is not valid.
struct ScanOption {
    std::optional<ScanRange> range;  // nullopt without --scan
    std::string error;
};

ScanOption ReadScanOption(const ParsedArguments& arguments);

// A scan that keeps its state in the store and may go on from a recorded one.
struct ScanRecording {
    const ScanStateStore& store;
    std::string driveIdentity;
    std::optional<ScanState> resumeFrom;
};

// Fills pools from the partition table, or by scanning `range` when one is given, reading
// whole runs ahead up to readAheadSectors per call (see ScanReadAhead). Ctrl-C stops the scan.
// What ended the scan (RangeDone for the partition table); at the pool limit a line on `err`
// says so, and so does one when the range reached past the disk's end, where the scan ended;
// a warning names each pool whose size its pool information could not give.
// With `recording`, the scan keeps its state as it goes.
// How a pool's size was found, for the listings: "pool information", "partition table entry"
// or "disk end".
const char* PoolSizeSourceText(PoolSizeSource source);

ScanEnd FindPools(SectorReader& reader, const std::optional<ScanRange>& range, uint32_t sectorsPerRead,
                  PoolTable& pools, std::ostream& err, uint32_t readAheadSectors = 0,
                  const ScanRecording* recording = nullptr);

}  // namespace lumbra::cli
