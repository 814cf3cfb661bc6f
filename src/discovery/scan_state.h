#pragma once
// Where a sector scan stood when it was last recorded: its drive, its parameters, the next run
// to read and the pools found before it. Written as a small JSON document; a document read
// back is checked field by field, since the file may be damaged or come from elsewhere.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/pool_table.h"
#include "discovery/scan_range.h"

namespace lumbra {

struct ScanState {
    std::string driveIdentity;  // DriveIdentity of the drive scanned
    ScanRange range;
    uint32_t sectorsPerRead = 0;  // 1 to kMaxSectorsPerRead
    uint64_t nextSector = 0;      // the first sector of the next run: in the range, on a run boundary
    std::vector<PoolEntry> pools; // the pool table as it stood before that run (treeItem not kept)

    // Percent of the range done before nextSector.
    uint32_t percentDone() const;
};

// The longest state document read; a real one is a few kilobytes.
constexpr size_t kMaxScanStateBytes = 256 * 1024;

std::string EncodeScanState(const ScanState& state);

// The state, or why the text is not one (problem is empty when state is set).
struct ScanStateRead {
    std::optional<ScanState> state;
    std::string problem;
};

ScanStateRead DecodeScanState(std::string_view text);

}  // namespace lumbra
