#include "support/pool_mapping.h"

#include <limits>

namespace lumbra::test {

std::optional<MappedRun> mapPoolRun(std::span<const SegmentPlace> segments, uint64_t poolSector) {
    if (segments.empty()) return std::nullopt;
    if (segments.size() == 1)
        return MappedRun{segments[0].dataStart + poolSector, std::numeric_limits<uint64_t>::max()};
    uint64_t before = 0;  // sectors of the segments already passed
    for (const SegmentPlace& segment : segments) {
        const uint64_t within = poolSector - before;
        if (within < segment.extent) return MappedRun{segment.dataStart + within, segment.extent - within};
        before += segment.extent;
    }
    return std::nullopt;
}

std::optional<uint64_t> poolSectorToDisk(std::span<const SegmentPlace> segments, uint64_t poolSector) {
    auto run = mapPoolRun(segments, poolSector);
    if (!run) return std::nullopt;
    return run->diskSector;
}

}  // namespace lumbra::test
