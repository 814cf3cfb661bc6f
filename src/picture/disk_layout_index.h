#pragma once
// Which files, metadata blocks and partition structures lie in a range of sectors: an interval
// index over those spans of a picture, built once, so that a question costs a binary search and
// the entries that reach into the range, not a walk over every file.
#include <cstdint>
#include <vector>

#include "picture/disk_picture.h"

namespace lumbra {

// A file (kind FileData, owner = index in the file list), a metadata block (kind Metadata,
// owner = index into DiskPicture::metadata()) or, when asked for, the partition table (owner 0)
// or a partition header's area (kind PartitionHeader, owner = its place in
// DiskFacts::headerAreas) with sectors in the range asked about.
struct LayoutHit {
    PictureKind kind = PictureKind::FileData;
    uint32_t owner = 0;
    uint64_t firstSector = 0;  // its first sector within the range
    uint64_t sectors = 0;      // how many of its sectors lie in the range
    bool operator==(const LayoutHit&) const = default;
};

class DiskLayoutIndex {
public:
    // Refers to the picture's spans, which must outlive the index; only damage, the sectors
    // never read and the scan position may change meanwhile (DiskPicture keeps every other span
    // in its place).
    // partitionStructures: the partition table and the header areas are answered too.
    explicit DiskLayoutIndex(const DiskPicture& picture, bool partitionStructures = false);

    // Everything with sectors in [first, first + count), each owner once, ordered by its first
    // sector there (then structures before files, then by owner).
    std::vector<LayoutHit> at(uint64_t first, uint64_t count) const;

private:
    const PictureSpan& entry(size_t i) const { return picture_.spans()[order_[i]]; }

    const DiskPicture& picture_;
    std::vector<uint32_t> order_;  // the file data and structure spans, by first sector
    std::vector<uint64_t> reach_;  // reach_[i]: the largest end among the spans of order_[0..i]
};

}  // namespace lumbra
