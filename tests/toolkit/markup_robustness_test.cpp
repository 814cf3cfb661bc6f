// Markup is never rejected: broken and hostile texts lay out without faults, and the drawing
// pass reads back exactly what the measuring pass recorded.
#include <gtest/gtest.h>

#include <random>

#include "render_helper.h"

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

TEST(MarkupRobustness, DeeplyNestedTables) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "<table border=1><tr><td>";
    text += "core";
    for (int i = 0; i < 40; ++i) text += "</td></tr></table>";
    Rendered r;
    r.render(text);
    EXPECT_EQ(r.drawer.records().tables.size(), 40u);
    EXPECT_EQ(r.surface.drawnText(), "core");
}

}  // namespace
}  // namespace lumbra
