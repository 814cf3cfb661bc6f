#include "picture/picture_kind.h"

#include <bit>

namespace lumbra {

PictureKind DominantKind(PictureKindSet kinds) {
    if (kinds == 0) return PictureKind::Nothing;
    return static_cast<PictureKind>(std::bit_width(static_cast<unsigned>(kinds)) - 1);
}

PictureKind FadedKind(PictureKindSet kinds) {
    return DominantKind(kinds & static_cast<PictureKindSet>(~KindBit(PictureKind::NeverRead)));
}

std::string_view PictureKindName(PictureKind kind) {
    switch (kind) {
        case PictureKind::Nothing: return "nothing known";
        case PictureKind::PartitionTable: return "partition table";
        case PictureKind::PartitionHeader: return "partition headers";
        case PictureKind::Pool: return "pool, nothing known";
        case PictureKind::FileData: return "file data";
        case PictureKind::Metadata: return "metadata";
        case PictureKind::NeverRead: return "never read";
        case PictureKind::ScanPosition: return "scan position";
        case PictureKind::Damaged: return "damaged";
    }
    return "nothing known";
}

std::string_view MetadataKindName(MetadataKind kind) {
    switch (kind) {
        case MetadataKind::Superblock: return "pool superblock";
        case MetadataKind::ObjectTreeNode: return "object tree block";
        case MetadataKind::VolumeRoot: return "volume root block";
        case MetadataKind::VolumeTreeNode: return "volume B-tree block";
    }
    return "metadata";
}

}  // namespace lumbra
