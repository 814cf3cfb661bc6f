#include <gtest/gtest.h>

#include "toolkit/markup_effects.h"

namespace lumbra {
namespace {

// With these colours palette entry i is the grey i, so pixels read back as indices.
const EffectColours kGreyRamp{0xffffff, 0x808080, 0x000000};

int IndexAt(const PixelBuffer& p, int x, int y) { return RedOf(RgbOfPixel(p.at(x, y))); }

TEST(EffectPalette, RunsFromEndOverMiddleToBackground) {
    const EffectColours colours{0x0000ff, 0x00ff00, 0xff0000};
    const auto palette = EffectPalette(colours);
    EXPECT_EQ(palette[0], 0xff0000u);
    EXPECT_EQ(palette[128], 0x00ff00u);
    EXPECT_EQ(palette[255], 0x0000ffu);
    EXPECT_EQ(palette[64], MakeRgb(0xff - 0xff * 64 / 128, 0xff * 64 / 128, 0));
    const auto ramp = EffectPalette(kGreyRamp);
    for (int i : {0, 1, 100, 127, 128, 200, 255}) EXPECT_EQ(ramp[static_cast<size_t>(i)], MakeRgb(i, i, i));
}

TEST(EffectNumbers, NamesAndNumbers) {
    EXPECT_EQ(EffectNumber("transparent"), -1);
    EXPECT_EQ(EffectNumber("softbump"), 13);
    EXPECT_EQ(EffectNumber("metal"), 15);
    EXPECT_EQ(EffectNumber("12"), 12);
    EXPECT_TRUE(RenderBackgroundEffect(-1, 10, 10, kGreyRamp, 0).empty());
}

TEST(Gradients, SixtyFourBandsFromBackgroundToEnd) {
    const EffectColours colours{0x000000, 0x000000, 0x400000};
    const PixelBuffer h = RenderBackgroundEffect(1, 128, 2, colours, 0);
    for (int x : {0, 1, 2, 3, 64, 127}) EXPECT_EQ(RedOf(RgbOfPixel(h.at(x, 1))), x / 2) << x;
    const PixelBuffer v = RenderBackgroundEffect(2, 2, 64, colours, 0);
    EXPECT_EQ(RedOf(RgbOfPixel(v.at(0, 63))), 63);
    EXPECT_EQ(RedOf(RgbOfPixel(v.at(1, 0))), 0);
}

TEST(Gradients, CentredAndThreeColourHalves) {
    const EffectColours colours{0x000000, 0x800000, 0x400000};
    const PixelBuffer c = RenderBackgroundEffect(3, 256, 1, colours, 0);
    EXPECT_EQ(RedOf(RgbOfPixel(c.at(0, 0))), 0);
    EXPECT_EQ(RedOf(RgbOfPixel(c.at(126, 0))), 63);
    EXPECT_EQ(RedOf(RgbOfPixel(c.at(128, 0))), 64);
    EXPECT_EQ(RedOf(RgbOfPixel(c.at(255, 0))), 1);
    const PixelBuffer three = RenderBackgroundEffect(6, 1, 256, colours, 0);
    EXPECT_EQ(RedOf(RgbOfPixel(three.at(0, 127))), 0x80 * 63 / 64);
    EXPECT_EQ(RedOf(RgbOfPixel(three.at(0, 128))), 0x80);
    EXPECT_EQ(RedOf(RgbOfPixel(three.at(0, 255))), 0x80 + (0x40 - 0x80) * 63 / 64);
}

TEST(Textures, CubeTruncatesTowardsZero) {
    EXPECT_EQ(Cube(128), 128);
    EXPECT_EQ(Cube(-127), -125);
    EXPECT_EQ(Cube(10), 0);
    EXPECT_EQ(Cube(-64), -16);
}

TEST(Textures, NoiseWithoutGranularityIsTheMiddleColour) {
    const PixelBuffer p = RenderBackgroundEffect(7, 5, 5, kGreyRamp, 0);
    for (uint32_t pixel : p.pixels) EXPECT_EQ(RgbOfPixel(pixel), 0x808080u);
}

TEST(Textures, HorizontalBumpFollowsTheCubeCurveDownTheRows) {
    const PixelBuffer p = RenderBackgroundEffect(11, 3, 256, kGreyRamp, 0);
    EXPECT_EQ(IndexAt(p, 1, 0), 128 - 125);
    EXPECT_EQ(IndexAt(p, 1, 128), 128);
    EXPECT_EQ(IndexAt(p, 1, 255), 128 + Cube(127));
    const PixelBuffer g = RenderBackgroundEffect(11, 3, 256, kGreyRamp, 8, 99);
    const int centre = 128 + Cube(-127) * (128 - 8) / 128;
    EXPECT_NEAR(IndexAt(g, 0, 0), centre, 8);
}

TEST(Textures, VerticalBumpRunsAcrossTheColumns) {
    const PixelBuffer p = RenderBackgroundEffect(12, 256, 2, kGreyRamp, 0);
    EXPECT_EQ(IndexAt(p, 0, 0), (128 + Cube(128)) % 256);  // indices are taken modulo 256
    EXPECT_EQ(IndexAt(p, 128, 1), 128 + Cube(0));
    EXPECT_EQ(IndexAt(p, 255, 0), 128 + Cube(-127));
}

TEST(Textures, SoftBumpIsClampedByTheGranularity) {
    const int g = 5;
    const PixelBuffer p = RenderBackgroundEffect(13, 64, 64, kGreyRamp, g, 7);
    for (uint32_t pixel : p.pixels) {
        const int index = RedOf(RgbOfPixel(pixel));
        EXPECT_GE(index, 0);
        EXPECT_LE(index, 255);
    }
    const PixelBuffer flat = RenderBackgroundEffect(13, 256, 256, kGreyRamp, 0);
    EXPECT_EQ(IndexAt(flat, 0, 255), std::min(255, 128 + Cube(127) + Cube(128)));
    EXPECT_EQ(IndexAt(flat, 255, 0), 0);
}

TEST(Textures, ShadesRunFromGranularityAcross) {
    const PixelBuffer h = RenderBackgroundEffect(9, 4, 255, kGreyRamp, 0);
    EXPECT_EQ(IndexAt(h, 0, 0), 0);
    EXPECT_EQ(IndexAt(h, 0, 254), 254);
    const PixelBuffer v = RenderBackgroundEffect(10, 255, 4, kGreyRamp, 0);
    EXPECT_EQ(IndexAt(v, 0, 0), 255 % 256);
    EXPECT_EQ(IndexAt(v, 254, 0), 1);
    const PixelBuffer d = RenderBackgroundEffect(8, 100, 100, kGreyRamp, 0);
    EXPECT_EQ(IndexAt(d, 0, 0), 127);
    EXPECT_EQ(IndexAt(d, 99, 99), 99 * 127 / 100 + 1 * 127 / 100);
}

TEST(Textures, SameSeedDrawsTheSamePicture) {
    const EffectColours colours{0xf7fd86, 0xffffff, 0xf7fd86};
    for (int effectNumber : {7, 8, 13, 14, 15}) {
        const PixelBuffer a = RenderBackgroundEffect(effectNumber, 40, 30, colours, 5, 3);
        const PixelBuffer b = RenderBackgroundEffect(effectNumber, 40, 30, colours, 5, 3);
        EXPECT_EQ(a.pixels, b.pixels) << effectNumber;
        EXPECT_EQ(a.width, 40);
    }
}

}  // namespace
}  // namespace lumbra
