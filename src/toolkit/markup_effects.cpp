#include "toolkit/markup_effects.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace lumbra {

namespace {

constexpr int kBands = 64;

struct NamedEffect {
    std::string_view name;
    int number;
};

constexpr NamedEffect kEffectNames[] = {
    {"transparent", -1}, {"solid", 0},       {"hgradient", 1},   {"vgradient", 2},
    {"hcgradient", 3},   {"vcgradient", 4},  {"3hgradient", 5},  {"3vgradient", 6},
    {"noise", 7},        {"diagshade", 8},   {"hshade", 9},      {"vshade", 10},
    {"hbump", 11},       {"vbump", 12},      {"softbump", 13},   {"hardbump", 14},
    {"metal", 15},
};

Rgb Blend(Rgb from, Rgb to, int step, int steps) {
    auto channel = [&](int a, int b) { return a + (b - a) * step / steps; };
    return MakeRgb(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)),
                   channel(BlueOf(from), BlueOf(to)));
}

void FillRect(PixelBuffer& out, int x0, int y0, int x1, int y1, Rgb colour) {
    for (int y = std::max(y0, 0); y < std::min(y1, out.height); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, out.width); ++x) out.at(x, y) = OpaquePixel(colour);
    }
}

// 64 bands from `from` to `to` across [start, end) of the width or the height.
void Gradient(PixelBuffer& out, bool horizontal, int start, int end, Rgb from, Rgb to) {
    const int span = end - start;
    for (int k = 0; k < kBands; ++k) {
        const int a = start + k * span / kBands;
        const int b = start + (k + 1) * span / kBands;
        const Rgb colour = Blend(from, to, k, kBands);
        if (horizontal) {
            FillRect(out, a, 0, b, out.height, colour);
        } else {
            FillRect(out, 0, a, out.width, b, colour);
        }
    }
}

void RenderGradient(PixelBuffer& out, int number, const EffectColours& c) {
    const bool horizontal = number % 2 == 1;
    const int length = horizontal ? out.width : out.height;
    switch (number) {
    case effect::kHGradient:
    case effect::kVGradient:
        Gradient(out, horizontal, 0, length, c.background, c.end);
        break;
    case effect::kHCGradient:
    case effect::kVCGradient:
        Gradient(out, horizontal, 0, length / 2, c.background, c.end);
        Gradient(out, horizontal, length / 2, length, c.end, c.background);
        break;
    default:
        Gradient(out, horizontal, 0, length / 2, c.background, c.middle);
        Gradient(out, horizontal, length / 2, length, c.middle, c.end);
        break;
    }
}

class TextureRandom {
public:
    TextureRandom(uint32_t seed, int granularity) : engine_(seed), g_(std::max(granularity, 0)) {}
    int term() { return g_ == 0 ? 0 : static_cast<int>(engine_() % (2 * g_ + 1)) - g_; }
    int positive(int upTo) { return upTo <= 0 ? 0 : static_cast<int>(engine_() % (upTo + 1)); }

private:
    std::minstd_rand engine_;
    int g_;
};

int HardBumpBevel(int x, int width, int g) {
    const int band = std::min(width / 6, 16);
    if (band <= 0) return 0;
    const int strength = 127 - g;
    if (x < band) {
        const int d = band - x;
        return d * d * strength / (band * band);
    }
    if (x >= width - band) {
        const int d = x - (width - band) + 1;
        return -(d * d * strength / (band * band));
    }
    return 0;
}

int TextureIndex(int number, int x, int y, int w, int h, int g) {
    const int yr = y * 255 / h - 127;
    const int xr = (w - x) * 255 / w - 127;
    switch (number) {
    case effect::kNoise:
        return 128;
    case effect::kDiagShade: {
        const int n = (255 - 2 * g) / 2;
        return g + y * n / h + (w - x) * n / w;
    }
    case effect::kHShade:
        return g + y * (255 - 2 * g) / h;
    case effect::kVShade:
        return g + (w - x) * (255 - 2 * g) / w;
    case effect::kHBump:
        return 128 + Cube(yr) * (128 - g) / 128;
    case effect::kVBump:
        return 128 + Cube(xr) * (128 - g) / 128;
    case effect::kSoftBump:
        return std::clamp(128 + (Cube(yr) + Cube(xr)) * (128 - g) / 128, g, std::max(g, 255 - g));
    case effect::kHardBump:
        return std::clamp(128 + Cube(yr) * (64 - g) * 2 / 128 + HardBumpBevel(x, w, g), 0, 255);
    default: {
        const int n = (255 - 2 * g - 40) / 2;
        return g + y * n / h + (w - x) * n / w;
    }
    }
}

// Diagonal streaks of random place, length and brightness under the metal shade.
std::vector<int> MetalStreaks(int w, int h, TextureRandom& random) {
    std::vector<int> streaks(static_cast<size_t>(w) * h, 0);
    for (int s = 0; s < 200; ++s) {
        int x = random.positive(w - 1);
        int y = random.positive(h - 1);
        const int length = 1 + random.positive(std::max(w, h) / 2);
        const int value = random.positive(40);
        for (int i = 0; i < length && x < w && y < h; ++i, ++x, ++y) {
            streaks[static_cast<size_t>(y) * w + x] = value;
        }
    }
    return streaks;
}

void RenderTexture(PixelBuffer& out, int number, const EffectColours& colours, int g,
                   uint32_t seed) {
    const auto palette = EffectPalette(colours);
    TextureRandom random(seed, g);
    const bool metal = number == effect::kMetal;
    const std::vector<int> streaks = metal ? MetalStreaks(out.width, out.height, random)
                                           : std::vector<int>();
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int value = TextureIndex(number, x, y, out.width, out.height, g);
            value += metal ? streaks[static_cast<size_t>(y) * out.width + x] + random.positive(2 * g)
                           : random.term();
            out.at(x, y) = OpaquePixel(palette[static_cast<size_t>(((value % 256) + 256) % 256)]);
        }
    }
}

}  // namespace

int EffectNumber(std::string_view value) {
    for (const auto& e : kEffectNames) {
        if (e.name == value) return e.number;
    }
    return static_cast<int>(std::strtol(std::string(value).c_str(), nullptr, 0));
}

std::array<Rgb, 256> EffectPalette(const EffectColours& colours) {
    std::array<Rgb, 256> palette{};
    for (int i = 0; i < 128; ++i) palette[static_cast<size_t>(i)] = Blend(colours.end, colours.middle, i, 128);
    for (int i = 128; i < 256; ++i) {
        palette[static_cast<size_t>(i)] = Blend(colours.middle, colours.background, i - 128, 127);
    }
    return palette;
}

int Cube(int v) { return v * v * v / 16384; }

PixelBuffer RenderBackgroundEffect(int effectNumber, int width, int height,
                                   const EffectColours& colours, int granularity, uint32_t seed) {
    if (effectNumber < 0 || effectNumber > effect::kMetal || width <= 0 || height <= 0) {
        return {};
    }
    PixelBuffer out(width, height, OpaquePixel(colours.background));
    const int g = std::clamp(granularity, 0, 127);
    if (effectNumber >= effect::kHGradient && effectNumber <= effect::k3VGradient) {
        RenderGradient(out, effectNumber, colours);
    } else if (effectNumber >= effect::kNoise) {
        RenderTexture(out, effectNumber, colours, g, seed);
    }
    return out;
}

}  // namespace lumbra
