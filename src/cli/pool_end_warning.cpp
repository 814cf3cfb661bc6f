#include "cli/pool_end_warning.h"

#include <algorithm>

#include "cli/terminal_text.h"

namespace lumbra::cli {
namespace {

// One past the last disk sector the pool maps to: the data start plus poolSize for a pool of
// one segment, the furthest segment end for a pool of several; 0 for a pool without segments.
uint64_t PoolDiskEnd(const SelectedPool& pool) {
    const size_t segments = std::min<size_t>({pool.segmentCount, pool.segmentStart.size(), pool.segmentExtent.size()});
    if (segments == 0) return 0;
    if (pool.segmentCount == 1) return uint64_t{pool.segmentStart[0]} + pool.poolSize;
    uint64_t end = 0;
    for (size_t segment = 0; segment < segments; ++segment)
        end = std::max(end, uint64_t{pool.segmentStart[segment]} + pool.segmentExtent[segment]);
    return end;
}

}  // namespace

void WarnPoolPastDiskEnd(CliContext& context, const SectorReader& reader, const SelectedPool& pool) {
    const auto diskEnd = reader.sectorCount();
    const uint64_t poolEnd = PoolDiskEnd(pool);
    if (!diskEnd || poolEnd <= *diskEnd) return;
    context.err << "lumbra-nss-cli: warning: pool " << TerminalText(pool.name) << " ends at sector " << poolEnd
                << ", past the end of the disk at sector " << *diskEnd << "; what lies beyond reads as zeros\n";
}

}  // namespace lumbra::cli
