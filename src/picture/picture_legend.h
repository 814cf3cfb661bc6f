#pragma once
// The legend of the disk picture: every colour it may draw, what it means and how many sectors
// carry it. The SVG, the text of the command line and the desktop window all list these.
#include <cstdint>
#include <string>
#include <vector>

#include "picture/disk_picture.h"

namespace lumbra {

struct LegendEntry {
    uint32_t colour = 0;     // 0xRRGGBB
    bool hatched = false;    // drawn with the damage hatch
    bool faded = false;      // drawn under the checker of sectors never read
    std::string name;        // UTF-8; a pool's name from the disk is converted (DiskNameText), not escaped
    uint64_t sectors = 0;
};

// The kinds in order of weight, heaviest first, with one entry per pool in place of the pool
// kind. Kinds that do not occur are listed too, with 0 sectors, so the legend never changes
// its shape while damage fills in.
std::vector<LegendEntry> PictureLegend(const DiskPicture& picture);

// "0 B", "512 B", "1.5 KiB", ... "2.0 TiB".
std::string SizeText(uint64_t sectors);

}  // namespace lumbra
