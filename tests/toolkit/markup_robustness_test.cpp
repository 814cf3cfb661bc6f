// Markup is never rejected: broken and hostile texts lay out without faults, and the drawing
// pass reads back exactly what the measuring pass recorded.
#include <gtest/gtest.h>

#include <random>

#include "render_helper.h"
#include "toolkit/markup_size.h"
#include "toolkit/markup_table_source.h"

namespace lumbra {
namespace {

using testing::Rendered;

const char* const kFragments[] = {
    "<table>", "</table>", "<tr>", "</tr>", "<td colspan=3>", "<td rowspan=5>", "</td>", "<td>",
    "<b>", "</b>", "<i>", "</i>", "<font size=150% color=#zzz bkgnd=red>", "</font>", "<br=3>", "<t=2>",
    "<hr width=50% size=-4>", "<ilst idres=159 cx=0 cy=7 speed=2 index=99>", "<bmp idres=1 style=gsdl>",
    "<a href=x>", "</a>", "<center>", "<right>", "<justify>", "<bottom>", "</middle>", "<<", "<", ">",
    "&lt;", "&amp;", "word ", "hyphen-ated ", "\r\n", "\t", "<span class=.>", "<string idres=3>",
    "<table border=2 cellspacing=3 cellpadding=999999 width=100%>", "<td width=-5 height=0x7fffffff>",
};

TEST(MarkupRobustness, RandomFragmentsLayOutConsistently) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int pieces = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < pieces; ++i) text += kFragments[random() % std::size(kFragments)];
        Rendered r;
        r.surface.resources[159] = PixelBuffer(64, 32, OpaquePixel(0xff00ff));
        r.surface.resources[1] = PixelBuffer(5, 5, OpaquePixel(0x336699));
        r.drawer.setMaxWidth(round % 3 == 0 ? 60 : 0);
        r.render(text);
        EXPECT_GE(r.size.width, 0) << text;
        EXPECT_GE(r.size.height, 0) << text;
        // A second drawing is the same as the first: nothing was left over between passes.
        const std::string first = r.surface.drawnText();
        r.redraw();
        EXPECT_EQ(r.surface.drawnText(), first) << text;
    }
}

TEST(MarkupRobustness, HugeCountsAndSpansAreBounded) {
    Rendered r;
    r.render("a<br=2000000000>b<t=2000000000>c");
    EXPECT_LT(r.size.height, 13 * 1001 + 2);
    r.render("<table><tr><td colspan=2000000000 rowspan=2000000000>x</td></tr></table>");
    EXPECT_GT(r.size.width, 0);
}

TEST(MarkupRobustness, SizesWithUnitsAndPercentagesAreCapped) {
    const SizeContext context{7, 16, 96};
    EXPECT_EQ(ParseSize("999999999px", 0, context), 0);
    EXPECT_EQ(ParseSize("100000px", 0, context), kMaxMarkupSize);
    EXPECT_EQ(ParseSize("99999in", 0, context), 0);
    EXPECT_EQ(ParseSize("99999999em", 0, context), 0);
    EXPECT_EQ(ParseSize("999999999%", 16, context), 0);
    EXPECT_EQ(ParseSize("2000000%", 100, context), 0);
    EXPECT_EQ(ParseSize("2000%", 16, context), 320);
}

TEST(MarkupRobustness, LargeLegalSizesDoNotOverflowTheLayout) {
    Rendered r;
    r.render("a<hr width=999999999px><hr width=999999999px><hr width=999999999px>b");
    EXPECT_EQ(r.size.width, 2 * 8 + 1);
    std::string wide = "<table width=100000 height=100000 bgcolor=red><tr><td>";
    for (int i = 0; i < 30; ++i) wide += "<hr width=100000%>";
    for (int i = 0; i < 22000; ++i) wide += "<hr width=100000>";
    wide += "</td></tr></table>";
    r.render(wide, 5000);
    EXPECT_GT(r.size.width, 100000);
    EXPECT_LE(r.size.width, kMaxMarkupExtent + 1);
    ASSERT_FALSE(r.surface.images.empty());
    // The background is rendered at a bounded size and stretched over the whole table.
    EXPECT_LE(r.surface.images[0].pixels.width, 2048);
    EXPECT_EQ(r.surface.images[0].rect.height(), 100000);
}

TEST(MarkupRobustness, DeeplyNestedTables) {
    // Thousands of levels neither exhaust the stack nor cost a scan of the text per level.
    for (int depth : {40, 4000}) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "<table border=1><tr><td>";
        text += "core";
        for (int i = 0; i < depth; ++i) text += "</td></tr></table>";
        Rendered r;
        r.render(text);
        EXPECT_EQ(r.drawer.records().tables.size(), static_cast<size_t>(std::min(depth, kMaxTableDepth)));
        EXPECT_EQ(r.surface.drawnText(), "core");
    }
}

}  // namespace
}  // namespace lumbra
