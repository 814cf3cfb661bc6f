#pragma once
// Pool-relative sector to disk sector, as the builder lays pools out: segments in
// segment-number order, each `extent` sectors long, starting at its data start. A one-segment
// pool maps every sector (start + r); with two or more segments a sector past the last one
// does not map.
#include <cstdint>
#include <optional>
#include <span>

namespace lumbra::test {

struct SegmentPlace {
    uint64_t dataStart = 0;  // disk sector of the segment's first data sector
    uint64_t extent = 0;     // sectors
};

std::optional<uint64_t> poolSectorToDisk(std::span<const SegmentPlace> segments, uint64_t poolSector);

// The disk sector of a pool sector and how many sectors from it lie contiguously on the disk
// (up to the end of its segment; without bound in a one-segment pool).
struct MappedRun {
    uint64_t diskSector = 0;
    uint64_t contiguous = 0;
};
std::optional<MappedRun> mapPoolRun(std::span<const SegmentPlace> segments, uint64_t poolSector);

}  // namespace lumbra::test
