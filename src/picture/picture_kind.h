#pragma once
// What a stretch of the disk holds, as the disk picture shows it. The order is the order of
// weight: a cell that holds several kinds shows the heaviest. Small structures outweigh the
// bulk around them, so that they stay visible however coarse the cells, and damage outweighs
// everything, so that a single unreadable sector is never hidden by the data around it.
//
// Sectors never read outweigh every structure of the disk but are drawn over the colour of
// the heaviest of them (faded), so the layout stays in sight where nothing was read yet. The
// scan position outweighs them: it is where the disk is being read. Damage outweighs them: a
// sector is only known to be damaged once it was tried, by this program or by the rescue
// copier, so a damaged sector this program never asked for is still damaged; a sector the
// copier never tried is never read, not damaged, though it reads as zeros.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumbra {

enum class PictureKind : uint8_t {
    Nothing,          // outside every pool and partition structure
    Pool,             // a pool's segment; in the selected pool, blocks that hold nothing known
    FileData,         // blocks that hold a recovered file's data
    PartitionTable,   // sector 0 with the PC partition table
    PartitionHeader,  // the sectors from a NetWare partition's header to its segment's data
    Metadata,         // superblock, object tree, volume root and B-tree blocks read
    NeverRead,        // never asked for by this program, or never tried by the rescue copier
    ScanPosition,     // the sector a running scan reads
    Damaged,          // unreadable, or tried but never rescued by the rescue copier
};

constexpr size_t kPictureKindCount = 9;

constexpr std::array<PictureKind, kPictureKindCount> kAllPictureKinds = {
    PictureKind::Nothing,         PictureKind::Pool,     PictureKind::FileData,     PictureKind::PartitionTable,
    PictureKind::PartitionHeader, PictureKind::Metadata, PictureKind::NeverRead, PictureKind::ScanPosition,
    PictureKind::Damaged,
};

// One bit per kind.
using PictureKindSet = uint16_t;
constexpr PictureKindSet KindBit(PictureKind kind) { return static_cast<PictureKindSet>(1u << static_cast<unsigned>(kind)); }

// The heaviest kind of a set; Nothing for an empty set.
PictureKind DominantKind(PictureKindSet kinds);
// What a cell whose heaviest kind is NeverRead is drawn over: the heaviest of the others.
PictureKind FadedKind(PictureKindSet kinds);

// "damaged", "file data", ... as the legends and the command line name them.
std::string_view PictureKindName(PictureKind kind);

// What a metadata block is.
enum class MetadataKind : uint8_t { Superblock, ObjectTreeNode, VolumeRoot, VolumeTreeNode };
std::string_view MetadataKindName(MetadataKind kind);

}  // namespace lumbra
