// Sizes, colours and style-sheet declarations.
#include <gtest/gtest.h>

#include <set>

#include "toolkit/markup_colour.h"
#include "toolkit/markup_size.h"
#include "toolkit/markup_style_sheet.h"

namespace lumbra {
namespace {

struct SizeCase {
    const char* value;
    int current;
    bool fontTable;
    int expected;
};

class MarkupSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(MarkupSizes, ReadAgainstTheCurrentValue) {
    const SizeContext context{7, 16, 96};
    const SizeCase& c = GetParam();
    EXPECT_EQ(ParseSize(c.value, c.current, context, c.fontTable), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupSizes,
    ::testing::Values(SizeCase{"12pt", 0, true, 16}, SizeCase{"3", 0, true, 12},
                      SizeCase{"1", 0, true, 8}, SizeCase{"7", 0, true, 36},
                      SizeCase{"3", 0, false, 3}, SizeCase{"150%", 16, true, 24},
                      SizeCase{"65%", 13, true, 8}, SizeCase{"-12px", 0, false, 12},
                      SizeCase{"+5", 0, false, 5}, SizeCase{"-3", 0, true, 12},
                      SizeCase{"", 21, false, 21}, SizeCase{"0x10", 0, false, 16},
                      SizeCase{"2em", 0, false, 32}, SizeCase{"2ex", 0, false, 14},
                      SizeCase{"1in", 0, false, 96}, SizeCase{"1cm", 0, false, 37},
                      SizeCase{"10mm", 0, false, 37}, SizeCase{"1pc", 0, false, 16},
                      SizeCase{"10pt", 0, true, 13}, SizeCase{"abc", 9, false, 0},
                      SizeCase{"px", 9, false, 0}));

TEST(MarkupColours, TableHoldsEveryName) {
    const ColourTable table;
    EXPECT_EQ(table.size(), 168u);
    ASSERT_NE(table.find("lightgrey"), nullptr);
    EXPECT_EQ(table.find("lightgray"), nullptr);
    EXPECT_EQ(*table.find("yellowgreen"), 0x9acd32u);
    EXPECT_EQ(*table.find("buttonface"), ClassicColourScheme()[system_colour::kButtonFace]);
    EXPECT_EQ(*table.find("threedface"), *table.find("buttonface"));
}

struct ColourCase {
    const char* value;
    Rgb expected;
};

class MarkupColourValues : public ::testing::TestWithParam<ColourCase> {};

TEST_P(MarkupColourValues, AreReadOrKeepTheCurrentColour) {
    const ColourTable table;
    EXPECT_EQ(ParseColour(GetParam().value, 0x123456, table), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupColourValues,
    ::testing::Values(ColourCase{"#ff9900", 0xff9900}, ColourCase{"#f90", 0x123456},
                      ColourCase{"#ff99001", 0x123456}, ColourCase{"0xff", 0xff0000},
                      ColourCase{"255", 0xff0000}, ColourCase{"0xff0000", 0x0000ff},
                      ColourCase{"green", 0x008000}, ColourCase{"darkblue", 0x00008b},
                      ColourCase{"notacolour", 0x123456}, ColourCase{"", 0x123456},
                      ColourCase{"#gg0000", 0x123456}));

MarkupStyle Apply(std::string_view declarations, MarkupStyle style = {}) {
    const ColourTable table;
    ApplyDeclarations(style, declarations, {table, SizeContext{8, 16, 96}});
    return style;
}

TEST(StyleSheet, DefaultRulesAndReplacement) {
    StyleSheet sheet;
    sheet.parse(kDefaultStyleSheet);
    ASSERT_NE(sheet.find("h3"), nullptr);
    ASSERT_NE(sheet.find("a:hover"), nullptr);
    ASSERT_NE(sheet.find(".cpp-comment"), nullptr);
    EXPECT_EQ(sheet.find("table"), nullptr);
    sheet.parse("H3 {color:red}");
    EXPECT_EQ(*sheet.find("h3"), "color:red");
}

TEST(StyleSheet, DefaultHeadingThreeIsOrangeBoldArial) {
    StyleSheet sheet;
    sheet.parse(kDefaultStyleSheet);
    const MarkupStyle style = Apply(*sheet.find("h3"));
    EXPECT_EQ(style.size, 16);
    EXPECT_EQ(style.textColour, 0xff9900u);
    EXPECT_EQ(style.face, "arial");
    EXPECT_EQ(style.weight, 700);
}

TEST(StyleDeclarations, FontProperties) {
    EXPECT_EQ(Apply("font-weight:bolder").weight, 900);
    EXPECT_EQ(Apply("font-weight:lighter").weight, 100);
    EXPECT_EQ(Apply("font-weight:600").weight, 600);
    EXPECT_EQ(Apply("font-weight:").weight, 400);
    EXPECT_TRUE(Apply("font-style:oblique").italic);
    EXPECT_EQ(Apply("font-size:150%").size, 24);
    EXPECT_EQ(Apply("font-family:\"Courier\"").face, "courier");
    EXPECT_EQ(Apply("TEXT-TRANSFORM: Capitalize").transform, TextTransform::Capitalize);
}

TEST(StyleDeclarations, DecorationsAndBackground) {
    MarkupStyle style = Apply("text-decoration: underline, overline line-through");
    EXPECT_TRUE(style.underline && style.overline && style.strikeout);
    style = Apply("text-decoration:", style);
    EXPECT_FALSE(style.underline || style.overline || style.strikeout);
    style = Apply("background-color:#fbedbb");
    EXPECT_TRUE(style.opaque);
    EXPECT_EQ(style.backgroundColour, 0xfbedbbu);
    EXPECT_FALSE(Apply("background-color:transparent", style).opaque);
}

TEST(StyleDeclarations, BorderWidthAndStyleDependOnEachOther) {
    MarkupStyle style = Apply("border-style:dotted");
    EXPECT_EQ(style.borderWidth, 1);
    style = Apply("border-width:0", style);
    EXPECT_EQ(style.borderStyle, BorderStyle::None);
    style = Apply("border-width:8px");
    EXPECT_EQ(style.borderStyle, BorderStyle::Solid);
    EXPECT_EQ(Apply("border-width:thin", style).borderWidth, 6);
    EXPECT_EQ(Apply("border-width:thick", style).borderWidth, 10);
    EXPECT_EQ(Apply("border-width:medium", style).borderWidth, 8);
    EXPECT_EQ(Apply("margin:5; padding:3").margin, 5);
    EXPECT_EQ(Apply("vertical-align:vcenter").verticalAlign, VerticalAlign::Middle);
    EXPECT_EQ(Apply("text-align:right").horizontalAlign, HorizontalAlign::Right);
}

}  // namespace
}  // namespace lumbra
