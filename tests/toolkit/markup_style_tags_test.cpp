// Tags that change the style: nesting, closing rules, font attributes.
#include <gtest/gtest.h>

#include "render_helper.h"

namespace lumbra {
namespace {

using testing::Rendered;

TEST(MarkupStyleTags, BodyStyleIsTenPointVerdanaBlack) {
    Rendered r;
    r.render("x");
    EXPECT_EQ(r.text(0).font.size, 13);
    EXPECT_EQ(r.text(0).font.face, "verdana");
    EXPECT_EQ(r.text(0).colour, 0x000000u);
    EXPECT_FALSE(r.text(0).background.has_value());
}

TEST(MarkupStyleTags, NestedBoldDoublesTheWeightUpTo900) {
    Rendered r;
    r.render("<b>x<b>y</b>z</b>w");
    EXPECT_EQ(r.text(0).font.weight, 800);
    EXPECT_EQ(r.text(1).font.weight, 900);
    EXPECT_EQ(r.text(2).font.weight, 800);
    EXPECT_EQ(r.text(3).font.weight, 400);
}

TEST(MarkupStyleTags, UpperCaseTagIsUnknownAndDropped) {
    Rendered r;
    r.render("<B>x</B>");
    ASSERT_EQ(r.surface.texts.size(), 1u);
    EXPECT_EQ(r.text(0).text, "x");
    EXPECT_EQ(r.text(0).font.weight, 400);
}

TEST(MarkupStyleTags, ClosingTagWithoutOpenStyleChangesNothing) {
    Rendered r;
    r.render("</i>x");
    EXPECT_FALSE(r.text(0).font.italic);
}

TEST(MarkupStyleTags, ClosingTagOnlyPopsItsOwnStyle) {
    Rendered r;
    r.render("<i><b></i>x</b>y</i>z");
    EXPECT_TRUE(r.text(0).font.italic);
    EXPECT_EQ(r.text(0).font.weight, 800);
    EXPECT_TRUE(r.text(1).font.italic);
    EXPECT_EQ(r.text(1).font.weight, 400);
    EXPECT_FALSE(r.text(2).font.italic);
}

TEST(MarkupStyleTags, MiddleClosesBottom) {
    Rendered r;
    r.render("<bottom>x</middle>y");
    ASSERT_EQ(r.surface.texts.size(), 2u);
    EXPECT_EQ(r.text(0).y, 3);  // line height 13 - ascent 10
    EXPECT_EQ(r.text(1).y, 0);  // baseline: 13 - 3 - 10
}

TEST(MarkupStyleTags, FontAttributes) {
    Rendered r;
    r.render("<font face=Courier size=3 color=#ff0000 weight=bold>a</font>"
             "<b><font style=-b+i>b</font></b><font size=10pt style=uo>c</font>");
    EXPECT_EQ(r.text(0).font.face, "Courier");
    EXPECT_EQ(r.text(0).font.size, 12);
    EXPECT_EQ(r.text(0).colour, 0xff0000u);
    EXPECT_EQ(r.text(0).font.weight, 700);
    EXPECT_EQ(r.text(1).font.weight, 400);
    EXPECT_TRUE(r.text(1).font.italic);
    EXPECT_EQ(r.text(2).font.size, 13);
    EXPECT_TRUE(r.text(2).font.underline);
    ASSERT_EQ(r.surface.lines.size(), 1u);  // the overline
}

TEST(MarkupStyleTags, TextBackgroundFromBkgnd) {
    Rendered r;
    r.render("<font bkgnd=transparent>a</font><font bkgnd>b</font><font bkgnd=yellow>c</font>");
    EXPECT_FALSE(r.text(0).background.has_value());
    EXPECT_FALSE(r.text(1).background.has_value());
    ASSERT_TRUE(r.text(2).background.has_value());
    EXPECT_EQ(*r.text(2).background, 0xffff00u);
}

TEST(MarkupStyleTags, SheetRulesSpanClassesAndHeadings) {
    Rendered r;
    r.render("<h3>H</h3><span class=cpp-comment>c</span><pre>p</pre><sub>s</sub>");
    EXPECT_EQ(r.text(0).colour, 0xff9900u);
    EXPECT_EQ(r.text(0).font.weight, 700);
    EXPECT_EQ(r.text(0).font.size, 16);
    EXPECT_EQ(r.text(1).colour, 0x008000u);
    EXPECT_TRUE(r.text(1).font.italic);
    ASSERT_TRUE(r.text(2).background.has_value());
    EXPECT_EQ(*r.text(2).background, 0xfbedbbu);
    EXPECT_EQ(r.text(3).font.size, 8);  // 65 % of 13
}

TEST(MarkupStyleTags, CallersSheetAddsRules) {
    Rendered r;
    r.drawer.addStyleSheet(".note {color:red; text-transform:uppercase}");
    r.render("<span class=note>hi</span>");
    EXPECT_EQ(r.text(0).text, "HI");
    EXPECT_EQ(r.text(0).colour, 0xff0000u);
}

}  // namespace
}  // namespace lumbra
