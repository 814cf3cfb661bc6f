#pragma once
// The colours of the disk picture, shared by every drawing of it. Taken from palettes that
// stay apart for the common kinds of colour blindness; damage has a hatch besides its colour,
// so that it does not rest on colour alone. Sectors never read have no colour of their own:
// a white checker fades the colour of what lies there (a grey where nothing is known).
#include <cstdint>
#include <string>

#include "picture/disk_picture.h"

namespace lumbra {

// 0xRRGGBB.
uint32_t KindColour(PictureKind kind);
uint32_t PoolColour(uint32_t poolRow);
// What a cell is filled with: its pool's colour when a pool is what it shows; for a cell never
// read, the colour its faded kind would have.
uint32_t CellColour(const PictureCell& cell);
// The colour of the hatch lines over damage, and of the outline of a chosen file's runs.
constexpr uint32_t kHatchColour = 0x000000;
constexpr uint32_t kOutlineColour = 0x000000;
// The checker over cells never read, every other pixel.
constexpr uint32_t kFadeColour = 0xFFFFFF;

// "#rrggbb".
std::string ColourText(uint32_t colour);

}  // namespace lumbra
