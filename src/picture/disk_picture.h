#pragma once
// The picture of a disk: spans of sectors by kind, binned into cells for drawing. GUI-free;
// the command line draws it as SVG and the desktop with its painter, from the same cells.
#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "disk/damage_map.h"
#include "disk/read_coverage.h"
#include "picture/picture_kind.h"

namespace lumbra {

// Sectors [first, first + count) of one kind. owner: the pool row for Pool, the file's index in
// the file list for FileData, the index into DiskPicture::metadata() for Metadata, the place
// among the header areas for PartitionHeader, else 0.
struct PictureSpan {
    uint64_t first = 0;
    uint64_t count = 0;
    PictureKind kind = PictureKind::Nothing;
    uint32_t owner = 0;
};

struct MetadataBlock {
    MetadataKind kind = MetadataKind::Superblock;
    uint64_t sector = 0;
};

// One cell of a drawing: a run of sectors, every kind that lies in it, and the one it shows.
struct PictureCell {
    uint64_t first = 0;
    uint64_t count = 0;
    PictureKindSet kinds = 0;
    PictureKind dominant = PictureKind::Nothing;
    // The pool row of the first pool span met in the cell; kNoPool when none lies there.
    uint32_t pool = kNoPool;
    static constexpr uint32_t kNoPool = 0xFFFFFFFFu;
};

// Spans are only ever appended; damage, the sectors never read and the scan position, added
// last, are the only ones ever taken away again, so every other span keeps its place (the index
// relies on it).
class DiskPicture {
public:
    explicit DiskPicture(uint64_t diskSectors) : diskSectors_(diskSectors) {}

    uint64_t diskSectors() const { return diskSectors_; }

    // Adds a span, cut at the end of the disk; an empty one is left out.
    void add(const PictureSpan& span);
    void reserve(size_t spans) { spans_.reserve(spans); }
    // A metadata block that starts at disk sector `sector` and lies in `runs` (a block
    // straddling a segment joint lies in two places); its index is the owner of its spans.
    void addMetadata(MetadataKind kind, uint64_t sector, const std::vector<SectorRange>& runs);
    // The drive's reads as its records hold them now (they grow while a mount or a copy
    // reads), in place of those given before: every damaged sector as Damaged, but for those
    // the rescue copier never tried, which are NeverRead with every sector the coverage holds
    // no read of. Either record may be null: no damage known, or no record of reads kept
    // (then nothing counts as never read).
    void setReads(const DamageMap* damage, const ReadCoverage* coverage);
    // The sector a running scan reads; nullopt: none.
    void setScanPosition(std::optional<uint64_t> sector);

    // The pools, by row, for the legend; the selected row's details are in the spans.
    std::vector<std::string> poolNames;  // 8-bit text from the disk
    uint32_t selectedPool = PictureCell::kNoPool;

    const std::vector<PictureSpan>& spans() const { return spans_; }
    const std::vector<MetadataBlock>& metadata() const { return metadata_; }

    // Bins sectors [first, end) into `count` cells of nearly equal length (fewer when the
    // range has fewer sectors): cell i starts at ceil(i * length / count). One pass over the
    // spans; a span adds its kind to every cell it touches.
    std::vector<PictureCell> cells(uint64_t first, uint64_t end, uint32_t count) const;

    // Sectors of each kind, each sector counted once per kind; Nothing: the sectors no span
    // covers but for NeverRead's.
    std::array<uint64_t, kPictureKindCount> totals() const;
    // Sectors that spans of any of these kinds cover, each counted once.
    uint64_t sectorsOf(PictureKindSet kinds) const;

    // The disk range the selected pool's segments cover, from the lowest segment start to the
    // highest segment end; the whole disk when no pool is selected.
    std::pair<uint64_t, uint64_t> selectedPoolArea() const;

private:
    uint64_t diskSectors_;
    std::vector<PictureSpan> spans_;
    std::vector<MetadataBlock> metadata_;
};

}  // namespace lumbra
