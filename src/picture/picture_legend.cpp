#include "picture/picture_legend.h"

#include <cstdio>

#include "disk/sector.h"
#include "picture/disk_name_text.h"
#include "picture/picture_colours.h"

namespace lumbra {

std::vector<LegendEntry> PictureLegend(const DiskPicture& picture) {
    const auto totals = picture.totals();
    std::vector<uint64_t> poolSectors(picture.poolNames.size(), 0);
    for (const PictureSpan& span : picture.spans())
        if (span.kind == PictureKind::Pool && span.owner < poolSectors.size()) poolSectors[span.owner] += span.count;
    std::vector<LegendEntry> legend;
    for (auto kind = kAllPictureKinds.rbegin(); kind != kAllPictureKinds.rend(); ++kind) {
        if (*kind != PictureKind::Pool) {
            legend.push_back({KindColour(*kind), *kind == PictureKind::Damaged, *kind == PictureKind::NeverRead,
                              std::string(PictureKindName(*kind)), totals[static_cast<size_t>(*kind)]});
            continue;
        }
        for (uint32_t row = 0; row < picture.poolNames.size(); ++row) {
            std::string name = "pool " + DiskNameText(picture.poolNames[row]);
            uint64_t sectors = poolSectors[row];
            if (row == picture.selectedPool) {
                // The selected pool's colour stands for its blocks that hold nothing known.
                name += ", nothing known";
                const uint64_t known =
                    picture.sectorsOf(KindBit(PictureKind::FileData) | KindBit(PictureKind::Metadata));
                sectors = sectors > known ? sectors - known : 0;
            }
            legend.push_back({PoolColour(row), false, false, name, sectors});
        }
    }
    return legend;
}

std::string SizeText(uint64_t sectors) {
    static constexpr const char* kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    const long double bytes = static_cast<long double>(sectors) * kSectorSize;
    if (bytes < 1024) return std::to_string(sectors * kSectorSize) + " B";
    long double value = bytes;
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(kUnits)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1Lf %s", value, kUnits[unit]);
    return text;
}

}  // namespace lumbra
