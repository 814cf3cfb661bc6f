// Lines: breaks, tabs, rules, wrapping, alignment and justification, measured sizes.
#include <gtest/gtest.h>

#include "render_helper.h"

namespace lumbra {
namespace {

using testing::Rendered;

TEST(MarkupLines, EmptyTextMeasuresZero) {
    Rendered r;
    r.render("");
    EXPECT_EQ(r.size, (MarkupSize{0, 0}));
    r.render("<b></b>");
    EXPECT_EQ(r.size, (MarkupSize{0, 0}));
    EXPECT_TRUE(r.drawer.text().empty());
}

TEST(MarkupLines, SizeIsWidestLineAndHeightsPlusOne) {
    Rendered r;
    r.render("abc<br>abcdef");
    EXPECT_EQ(r.size, (MarkupSize{6 * 8 + 1, 2 * 13 + 1}));
}

TEST(MarkupLines, LineFeedAndBreakTagBothGiveTwoLines) {
    Rendered withFeed;
    withFeed.render("first\nsecond");
    Rendered withTag;
    withTag.render("first<br>second");
    EXPECT_EQ(withFeed.drawer.records().lines.size(), 2u);
    EXPECT_EQ(withTag.drawer.records().lines.size(), 2u);
    EXPECT_EQ(withFeed.size, withTag.size);
    EXPECT_EQ(withTag.text(1).y, 13);
}

TEST(MarkupLines, BreakCountLeavesEmptyLines) {
    Rendered r;
    r.render("a<br=2>b");
    EXPECT_EQ(r.text(1).y, 26);
    EXPECT_EQ(r.size.height, 39 + 1);
}

struct TabCase {
    const char* text;
    int x;  // where the last piece starts
};

class MarkupTabs : public ::testing::TestWithParam<TabCase> {};

TEST_P(MarkupTabs, AdvanceToTabStops) {
    Rendered r;
    r.render(GetParam().text);
    EXPECT_EQ(r.surface.texts.back().x, GetParam().x) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkupTabs,
                         ::testing::Values(TabCase{"a<t>b", 32}, TabCase{"a\tb", 32},
                                           TabCase{"<t>b", 32}, TabCase{"<t=2>b", 64},
                                           TabCase{"abcd<t>b", 64}, TabCase{"a<t=3>b", 96},
                                           TabCase{"abcde<t=2>b", 96}));

TEST(MarkupLines, RuleRaisesTheLineAndSpansTheWidth) {
    Rendered r;
    r.render("a<hr size=10 color=green>");
    EXPECT_EQ(r.drawer.records().lines.at(0).ascent, 18);
    r.redraw(200);
    ASSERT_EQ(r.surface.fills.size(), 1u);
    EXPECT_EQ(r.surface.fills[0].colour, 0x008000u);
    EXPECT_EQ(r.surface.fills[0].rect.left, 8);
    EXPECT_EQ(r.surface.fills[0].rect.width(), 200);
    EXPECT_EQ(r.surface.fills[0].rect.height(), 10);
}

TEST(MarkupLines, RuleOfFixedWidthTakesItsPixels) {
    Rendered r;
    r.render("<hr width=50>");
    EXPECT_EQ(r.size.width, 51);
    ASSERT_EQ(r.surface.fills.size(), 1u);
    EXPECT_EQ(r.surface.fills[0].rect.width(), 50);
    EXPECT_EQ(r.surface.fills[0].rect.height(), 1);
}

TEST(MarkupWrapping, BreaksAfterTheHyphen) {
    Rendered r;
    r.drawer.setMaxWidth(60);
    r.render("well-known");
    ASSERT_EQ(r.surface.texts.size(), 2u);
    EXPECT_EQ(r.text(0).text, "well-");
    EXPECT_EQ(r.text(1).text, "known");
    EXPECT_EQ(r.text(1).y, 13);
    EXPECT_TRUE(r.drawer.records().lines[0].wrapped);
    EXPECT_FALSE(r.drawer.records().lines[1].wrapped);
}

TEST(MarkupWrapping, CutsAWordWiderThanTheMaximum) {
    Rendered r;
    r.drawer.setMaxWidth(44);
    r.render("abcdefghij");
    ASSERT_EQ(r.surface.texts.size(), 2u);
    EXPECT_EQ(r.text(0).text, "abcde");
    EXPECT_EQ(r.text(1).text, "fghij");
    EXPECT_EQ(r.size.width, 41);
}

TEST(MarkupWrapping, MeasuredWidthIsAtMostTheMaximumPlusOne) {
    Rendered r;
    r.drawer.setMaxWidth(4);
    r.render("ab");
    EXPECT_EQ(r.surface.texts.size(), 2u);
    EXPECT_EQ(r.size.width, 5);
}

TEST(MarkupWrapping, SpacesAtTheBreakAreDropped) {
    Rendered r;
    r.drawer.setMaxWidth(80);
    r.render("aa bb cc dd ee");
    ASSERT_EQ(r.surface.texts.size(), 2u);
    EXPECT_EQ(r.text(0).text, "aa bb cc");
    EXPECT_EQ(r.text(1).text, "dd ee");
}

TEST(MarkupWrapping, RunThatDoesNotFitBehindTextMovesToTheNextLine) {
    Rendered r;
    r.drawer.setMaxWidth(64);
    r.render("abcd<b>efghij</b>");
    ASSERT_EQ(r.surface.texts.size(), 2u);
    EXPECT_EQ(r.text(1).text, "efghij");
    EXPECT_EQ(r.text(1).x, 0);
    EXPECT_EQ(r.text(1).y, 13);
}

// Counts the characters that layout measures.
class CountingSurface : public testing::FakeSurface {
public:
    int textWidth(std::string_view text) override {
        measured += text.size();
        return FakeSurface::textWidth(text);
    }
    size_t measured = 0;
};

TEST(MarkupWrapping, MeasuresAboutAsMuchAsTheTextHoldsWithOneLongWordOrMany) {
    std::string words;
    for (int i = 0; i < 2000; ++i) words += "word" + std::to_string(i % 10) + " ";
    // 8 words of 6 characters fit in 400 pixels; 50 characters of an unbroken word do.
    for (const auto& [text, lines] : {std::pair{words, 250u}, std::pair{std::string(20000, 'x'), 400u}}) {
        CountingSurface surface;
        MarkupDrawer drawer;
        drawer.setMaxWidth(400);
        const MarkupSize size = drawer.prepare(surface, text);
        EXPECT_LE(size.width, 401);
        EXPECT_EQ(drawer.records().lines.size(), lines);
        EXPECT_LT(surface.measured, 16 * text.size());  // a few times each character, never per line
    }
}

TEST(MarkupAlignment, CenterAndRightWithinTheRectangle) {
    Rendered r;
    r.render("<center>ab</center><br><right>cd</right>");
    r.redraw(100);
    EXPECT_EQ(r.text(0).x, 42);
    EXPECT_EQ(r.text(1).x, 84);
}

TEST(MarkupAlignment, JustifiesOnlyWrappedLines) {
    Rendered r;
    r.drawer.setMaxWidth(80);
    r.render("<justify>aa bb cc dd ee</justify>");
    r.redraw(80);
    ASSERT_FALSE(r.surface.justifications.empty());
    EXPECT_EQ(r.surface.justifications.front(), (std::pair<int, int>{16, 2}));
    EXPECT_EQ(r.surface.justifications.back(), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(r.surface.justifications.size(), 2u);
}

TEST(MarkupAlignment, VerticalPlacementInATallLine) {
    Rendered r;
    r.render("<h1>X</h1><top>t</top><middle>m</middle><bottom>b</bottom>x");
    // line height 18 (h1: 14pt), maximum descent 4
    EXPECT_EQ(r.text(1).y, 0);
    EXPECT_EQ(r.text(2).y, (18 - 13) / 2);
    EXPECT_EQ(r.text(3).y, 18 - 10);
    EXPECT_EQ(r.text(4).y, 18 - 4 - 10);
}

}  // namespace
}  // namespace lumbra
