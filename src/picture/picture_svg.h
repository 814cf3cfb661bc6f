#pragma once
// The disk picture as an SVG document: a bar for the whole disk with its pools and partition
// structures, a grid for the selected pool's area, and the legend with the size of each kind.
// Every text from the disk goes through the XML writer, which escapes it.
#include <cstdint>
#include <string>

#include "picture/disk_picture.h"

namespace lumbra {

namespace picture_svg {
constexpr uint32_t kWidth = 768;
constexpr uint32_t kBarCells = 192;       // of kWidth / kBarCells pixels each
constexpr uint32_t kBarTop = 28;
constexpr uint32_t kBarHeight = 28;
constexpr uint32_t kGridColumns = 64;
constexpr uint32_t kGridCellSize = 12;    // kWidth / kGridColumns
constexpr uint32_t kGridTop = 88;
constexpr uint32_t kLegendLine = 20;
}  // namespace picture_svg

// gridCells: cells of the pool grid (at least 1); title: a line above the bar, bytes of the file
// system (a drive's path): what is not valid UTF-8, and every control character, is written as \xHH.
std::string PictureSvg(const DiskPicture& picture, uint32_t gridCells, const std::string& title);

}  // namespace lumbra
