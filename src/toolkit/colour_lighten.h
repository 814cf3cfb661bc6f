#pragma once
// Colours of the toolkit are 24-bit values written 0xRRGGBB, the order of "#rrggbb".
#include <cstdint>

namespace lumbra {

using Rgb = uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
    return (static_cast<Rgb>(red & 0xff) << 16) | (static_cast<Rgb>(green & 0xff) << 8) |
           static_cast<Rgb>(blue & 0xff);
}
constexpr int RedOf(Rgb colour) { return static_cast<int>((colour >> 16) & 0xff); }
constexpr int GreenOf(Rgb colour) { return static_cast<int>((colour >> 8) & 0xff); }
constexpr int BlueOf(Rgb colour) { return static_cast<int>(colour & 0xff); }

// Moves every channel c towards white by a fraction given in percent:
// c + percent / 100 x (255 - c), truncated. Percentages outside 0..100 are clamped.
Rgb Lighten(Rgb colour, int percent);

}  // namespace lumbra
