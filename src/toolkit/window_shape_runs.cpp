#include "toolkit/window_shape_runs.h"

#include <cstdlib>

namespace lumbra {

bool IsTransparentPixel(Rgb colour, Rgb transparent, int tolerance) {
    return std::abs(RedOf(colour) - RedOf(transparent)) <= tolerance &&
           std::abs(GreenOf(colour) - GreenOf(transparent)) <= tolerance &&
           std::abs(BlueOf(colour) - BlueOf(transparent)) <= tolerance;
}

std::vector<ShapeRect> OpaqueRuns(std::span<const uint32_t> pixels, int width, int height,
                                  Rgb transparent, int tolerance) {
    std::vector<ShapeRect> runs;
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        return runs;
    }
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        int x = 0;
        while (x < width) {
            while (x < width && IsTransparentPixel(row[x] & 0xffffff, transparent, tolerance)) ++x;
            const int start = x;
            while (x < width && !IsTransparentPixel(row[x] & 0xffffff, transparent, tolerance)) ++x;
            if (x > start) runs.push_back({start, y, x - start, 1});
        }
    }
    return runs;
}

}  // namespace lumbra
