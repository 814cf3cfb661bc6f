#include "picture/picture_colours.h"

#include <array>
#include <cstdio>

namespace lumbra {

uint32_t KindColour(PictureKind kind) {
    switch (kind) {
        case PictureKind::Nothing: return 0xEEEEEE;
        case PictureKind::PartitionTable: return 0x000000;
        case PictureKind::PartitionHeader: return 0x777777;
        case PictureKind::Pool: return PoolColour(0);
        case PictureKind::FileData: return 0x0072B2;
        case PictureKind::Metadata: return 0xCC79A7;
        case PictureKind::NeverRead: return 0xAAAAAA;
        case PictureKind::ScanPosition: return 0xF0E442;
        case PictureKind::Damaged: return 0xD55E00;
    }
    return 0xEEEEEE;
}

// Light tints, so that file data and metadata drawn over a pool stand out from it.
uint32_t PoolColour(uint32_t poolRow) {
    static constexpr std::array<uint32_t, 6> kPools = {0x88CCEE, 0x44AA99, 0xDDCC77, 0x999933, 0xAA4499, 0x332288};
    return kPools[poolRow % kPools.size()];
}

uint32_t CellColour(const PictureCell& cell) {
    PictureKind shown = cell.dominant;
    if (shown == PictureKind::NeverRead) {
        shown = FadedKind(cell.kinds);
        if (shown == PictureKind::Nothing) return KindColour(PictureKind::NeverRead);
    }
    if (shown == PictureKind::Pool && cell.pool != PictureCell::kNoPool) return PoolColour(cell.pool);
    return KindColour(shown);
}

std::string ColourText(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", colour & 0xFFFFFFu);
    return text;
}

}  // namespace lumbra
