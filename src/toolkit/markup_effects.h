#pragma once
// Background effects of tables, cells, message boxes and tooltips: solid fills, banded
// gradients and palette textures, computed into a picture.
#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/pixel_buffer.h"

namespace lumbra {

namespace effect {
constexpr int kNone = -1, kSolid = 0, kHGradient = 1, kVGradient = 2, kHCGradient = 3,
              kVCGradient = 4, k3HGradient = 5, k3VGradient = 6, kNoise = 7, kDiagShade = 8,
              kHShade = 9, kVShade = 10, kHBump = 11, kVBump = 12, kSoftBump = 13,
              kHardBump = 14, kMetal = 15;
}

struct EffectColours {
    Rgb background = 0xffffff;
    Rgb middle = 0xffffff;
    Rgb end = 0xffffff;
};

// "hgradient" -> 1 ...; any other value is read as a number.
int EffectNumber(std::string_view value);

// The texture palette: end colour at 0, middle at 128, background at 255.
std::array<Rgb, 256> EffectPalette(const EffectColours& colours);

// v x v x v / 16384, truncated: the curve of the bump textures.
int Cube(int v);

// The effect over a width x height rectangle; empty for no effect. Textures take a random
// term of +-granularity from a generator seeded with `seed`, so a repaint looks the same.
PixelBuffer RenderBackgroundEffect(int effectNumber, int width, int height,
                                   const EffectColours& colours, int granularity,
                                   uint32_t seed = 1);

}  // namespace lumbra
