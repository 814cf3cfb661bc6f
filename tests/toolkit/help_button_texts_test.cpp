// The two help-button texts of the disk step lay out as intended.
#include <gtest/gtest.h>

#include "render_helper.h"
#include "toolkit/help_button_texts.h"

namespace lumbra {
namespace {

using testing::Rendered;

PixelBuffer FrameStrip() { return PixelBuffer(32 * 4, 32, OpaquePixel(0x3366cc)); }

TEST(HelpButtonTexts, VolumeIdentifyOptionsLayOut) {
    Rendered r;
    r.surface.resources[159] = FrameStrip();
    r.render(kHelpButtonAText);
    const std::string drawn = r.surface.drawnText();
    EXPECT_EQ(drawn.find('<'), std::string::npos);
    EXPECT_EQ(drawn.find('>'), std::string::npos);
    for (const char* words : {"Volume Identify Options", "Use Partition Table", "Search Partition",
                              "This is fast mode for recovering data.",
                              "Partition Table is deleted or volume is missing."}) {
        EXPECT_NE(drawn.find(words), std::string::npos) << words;
    }
    ASSERT_EQ(r.drawer.records().tables.size(), 1u);
    ASSERT_EQ(r.drawer.records().animations.size(), 1u);
    EXPECT_EQ(r.drawer.records().animations[0].frameCount, 4);
    ASSERT_FALSE(r.surface.images.empty());
    EXPECT_EQ(r.surface.images[0].rect.width(), 64);
    EXPECT_EQ(r.surface.images[0].rect.height(), 64);
    EXPECT_GT(r.size.width, 64);
    EXPECT_GT(r.size.height, 9 * 13);
    for (const auto& t : r.surface.texts) {
        EXPECT_GE(t.x, 64) << t.text;  // all text sits in the second cell
        EXPECT_LE(t.x + 8 * static_cast<int>(t.text.size()), r.size.width) << t.text;
        EXPECT_LE(t.y + t.font.size, r.size.height) << t.text;
    }
}

TEST(HelpButtonTexts, HeadingsAndBodyKeepTheirStyles) {
    Rendered r;
    r.render(kHelpButtonAText);
    for (const auto& t : r.surface.texts) {
        if (t.text == "Volume Identify Options") {
            EXPECT_EQ(t.colour, 0xff9900u);
            EXPECT_EQ(t.font.weight, 700);
        }
        if (t.text.find("This is fast mode") != std::string::npos) {
            EXPECT_EQ(t.colour, 0x000000u);
            EXPECT_EQ(t.font.size, 13);
        }
    }
    ASSERT_FALSE(r.surface.fills.empty());
    EXPECT_EQ(r.surface.fills[0].colour, 0x008000u);  // the green rule
}

TEST(HelpButtonTexts, ScanControlLaysOut) {
    Rendered r;
    r.surface.resources[159] = FrameStrip();
    r.render(kHelpButtonBText);
    const std::string drawn = r.surface.drawnText();
    EXPECT_NE(drawn.find("Scan Control"), std::string::npos);
    EXPECT_NE(drawn.find("Here select the disk area to scan. Don't change "), std::string::npos);
    EXPECT_NE(drawn.find("if you want to scan the whole disk."), std::string::npos);
    EXPECT_EQ(drawn.find('<'), std::string::npos);
    EXPECT_GT(r.size.height, 64);
}

TEST(HelpButtonTexts, MissingPictureLeavesTheTextInPlace) {
    Rendered r;
    r.render(kHelpButtonBText);
    EXPECT_TRUE(r.surface.images.empty());
    EXPECT_TRUE(r.drawer.records().animations.empty());
    EXPECT_NE(r.surface.drawnText().find("Scan Control"), std::string::npos);
}

}  // namespace
}  // namespace lumbra
