#pragma once
// The visible part of a shaped window, found in its picture: every horizontal run of pixels
// whose colour is not the transparent one becomes a rectangle one pixel high.
#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/colour_lighten.h"

namespace lumbra {

struct ShapeRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Rectangles are handed to the region in batches of this many.
constexpr size_t kShapeBatchSize = 100;

// True when every channel of `colour` lies within `tolerance` of the transparent colour's
// channel (tolerance 0 = exactly that colour).
bool IsTransparentPixel(Rgb colour, Rgb transparent, int tolerance);

// pixels: rows of `width` 0x??RRGGBB values, top row first. A pixel span shorter than
// width x height yields no rectangles at all.
std::vector<ShapeRect> OpaqueRuns(std::span<const uint32_t> pixels, int width, int height,
                                  Rgb transparent, int tolerance);

}  // namespace lumbra
