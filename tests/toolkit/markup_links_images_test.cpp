// Links (areas, hover, click) and images (bitmaps, icons, image lists, animation, masks).
#include <gtest/gtest.h>

#include "render_helper.h"

namespace lumbra {
namespace {

using testing::Rendered;

PixelBuffer TwoFrames() {
    PixelBuffer strip(64, 32, OpaquePixel(0x0000ff));
    for (int y = 0; y < 32; ++y) {
        for (int x = 32; x < 64; ++x) strip.at(x, y) = OpaquePixel(0x00ff00);
    }
    strip.at(0, 0) = OpaquePixel(0xff00ff);
    return strip;
}

TEST(MarkupLinks, DrawingRecordsAreasAndHoverSwitchesToTheHoverRule) {
    Rendered r;
    std::vector<int> notified;
    r.drawer.setHoverNotification([&](int index) { notified.push_back(index); });
    r.render("go <a href=\"http://example.invalid/\">here</a> or <a msg=next>there</a>");
    const auto& links = r.drawer.records().links;
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].rect, (MarkupRect{24, 0, 56, 13}));
    EXPECT_EQ(links[0].kind, LinkKind::Href);
    EXPECT_EQ(links[1].kind, LinkKind::Message);
    EXPECT_EQ(links[1].index, 1);
    EXPECT_EQ(r.text(1).colour, 0x0000ffu);
    EXPECT_FALSE(r.text(1).font.underline);

    EXPECT_EQ(r.drawer.linkUnderPoint(56, 13), 0);
    EXPECT_EQ(r.drawer.linkUnderPoint(10, 5), -1);
    EXPECT_TRUE(r.drawer.mouseOver(30, 5));
    EXPECT_EQ(r.drawer.hoverLink(), 0);
    r.redraw();
    EXPECT_TRUE(r.text(1).font.underline);
    EXPECT_FALSE(r.drawer.mouseOver(1, 1));
    EXPECT_FALSE(r.drawer.mouseOver(2, 2));
    EXPECT_EQ(notified, (std::vector<int>{0, MarkupDrawer::kNoLink}));
}

TEST(MarkupLinks, ClickOpensHrefAndSendsMessages) {
    Rendered r;
    std::string opened, message;
    r.drawer.setLinkActions({[&](const std::string& t) { opened = t; },
                             [&](const std::string& t) { message = t; }});
    r.render("<a href=target>a</a><a msg=m1 href=ignored msg=m2>b</a>");
    r.drawer.click(2, 2);
    r.drawer.click(10, 2);
    EXPECT_EQ(opened, "target");
    EXPECT_EQ(message, "m2");
}

TEST(MarkupImages, BitmapAtItsOwnOrRequestedSize) {
    Rendered r;
    r.surface.resources[7] = PixelBuffer(10, 6, OpaquePixel(0x123456));
    r.render("<bmp idres=7>a<bmp idres=7 width=200% height=30>");
    EXPECT_EQ(r.size.width, 10 + 8 + 20 + 1);
    EXPECT_EQ(r.size.height, 30 + 3 + 1);  // the tallest image over the text's descent
    ASSERT_EQ(r.surface.images.size(), 2u);
    EXPECT_EQ(r.surface.images[1].rect, (MarkupRect{18, 0, 38, 30}));
    EXPECT_EQ(r.surface.images[0].rect.top, 30 - 6);  // standing on the baseline
}

TEST(MarkupImages, MissingImageTakesNoSpace) {
    Rendered r;
    r.render("<bmp idres=99><icon file=none.ico>ab");
    EXPECT_EQ(r.size.width, 17);
    EXPECT_TRUE(r.surface.images.empty());
}

TEST(MarkupImages, IconsAreScaledFromTheSystemIconSize) {
    Rendered r;
    r.surface.handles[0x10] = PixelBuffer(48, 48, OpaquePixel(0));
    r.render("<icon handle=0x10 width=50%>");
    ASSERT_EQ(r.surface.images.size(), 1u);
    EXPECT_EQ(r.surface.images[0].rect.width(), 16);
    EXPECT_EQ(r.surface.images[0].rect.height(), 32);
}

TEST(MarkupImages, ImageListFrameWithMaskAndStyle) {
    Rendered r;
    r.surface.resources[159] = TwoFrames();
    r.render("<ilst idres=159 cx=32 index=1 mask style=d>");
    ASSERT_EQ(r.surface.images.size(), 1u);
    const PixelBuffer& frame = r.surface.images[0].pixels;
    EXPECT_EQ(frame.width, 32);
    EXPECT_EQ(RgbOfPixel(frame.at(5, 5)), MakeRgb(0, 0xff * 3 / 4, 0));
    r.render("<ilst idres=159 cx=32 cy=32 mask>");
    EXPECT_EQ(AlphaOf(r.surface.images[0].pixels.at(0, 0)), 0);
    EXPECT_EQ(AlphaOf(r.surface.images[0].pixels.at(1, 0)), 255);
    r.render("<ilst idres=159 cx=32 index=2>x");
    EXPECT_TRUE(r.surface.images.empty());
}

TEST(MarkupImages, ShadowEnlargesTheBoxAndIsDrawnFirst) {
    Rendered r;
    r.surface.resources[1] = PixelBuffer(10, 10, OpaquePixel(0xffffff));
    r.render("<bmp idres=1 style=s>");
    EXPECT_EQ(r.size, (MarkupSize{15, 15}));
    ASSERT_EQ(r.surface.images.size(), 2u);
    EXPECT_EQ(r.surface.images[0].rect.left, 4);
    EXPECT_EQ(RgbOfPixel(r.surface.images[0].pixels.at(5, 5)), MakeRgb(127, 127, 127));
}

TEST(MarkupImages, AnimationWithSpeedTwoAdvancesEverySecondTickAndWraps) {
    Rendered r;
    r.surface.resources[159] = TwoFrames();
    r.render("<ilst idres=159 cx=32 cy=32 width=200% height=200% speed=2>");
    ASSERT_EQ(r.drawer.records().animations.size(), 1u);
    EXPECT_EQ(r.surface.images.at(0).rect.width(), 64);
    EXPECT_FALSE(r.drawer.animationTick());
    EXPECT_TRUE(r.drawer.animationTick());
    EXPECT_EQ(r.drawer.records().animations[0].frame, 1);
    r.redraw();
    EXPECT_EQ(RgbOfPixel(r.surface.images.at(0).pixels.at(5, 5)), 0x00ff00u);
    EXPECT_FALSE(r.drawer.animationTick());
    EXPECT_TRUE(r.drawer.animationTick());
    EXPECT_EQ(r.drawer.records().animations[0].frame, 0);
}

TEST(MarkupImages, ResourceStringIsOnePiece) {
    Rendered r;
    r.surface.strings[5] = "Hello there";
    r.drawer.setMaxWidth(20);
    r.render("<string idres=5>");
    ASSERT_EQ(r.surface.texts.size(), 1u);
    EXPECT_EQ(r.text(0).text, "Hello there");
}

TEST(ImageStyles, GreyDarkLightLeaveTransparentPixels) {
    PixelBuffer p(2, 1, OpaquePixel(MakeRgb(200, 100, 40)));
    p.at(1, 0) = RgbOfPixel(p.at(1, 0));
    ApplyImageStyle(p, "g");
    EXPECT_EQ(RgbOfPixel(p.at(0, 0)), MakeRgb(123, 123, 123));
    EXPECT_EQ(RgbOfPixel(p.at(1, 0)), MakeRgb(200, 100, 40));
    PixelBuffer q(1, 1, OpaquePixel(MakeRgb(240, 100, 4)));
    ApplyImageStyle(q, "l");
    EXPECT_EQ(RgbOfPixel(q.at(0, 0)), MakeRgb(255, 125, 5));
}

}  // namespace
}  // namespace lumbra
