#pragma once
// A small picture in memory: 32-bit 0xAARRGGBB pixels, row by row.
#include <cstdint>
#include <vector>

#include "toolkit/colour_lighten.h"

namespace lumbra {

struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    PixelBuffer() = default;
    PixelBuffer(int w, int h, uint32_t fill = 0xff000000u)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

constexpr uint32_t OpaquePixel(Rgb colour) { return 0xff000000u | (colour & 0xffffffu); }
constexpr Rgb RgbOfPixel(uint32_t pixel) { return pixel & 0xffffffu; }
constexpr int AlphaOf(uint32_t pixel) { return static_cast<int>(pixel >> 24); }

}  // namespace lumbra
