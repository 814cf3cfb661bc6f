// Tables: spans, column widths, spacing, borders, surplus width, cells and nesting.
#include <gtest/gtest.h>

#include "render_helper.h"
#include "toolkit/markup_table_geometry.h"
#include "toolkit/markup_table_source.h"

namespace lumbra {
namespace {

using testing::DrawnPixels;
using testing::Rendered;
using namespace table_geometry;

TEST(TableGeometry, SpanningCellGrowsFirstColumnByTheRemainder) {
    std::vector<int> widths{0, 0};
    SettleSpans(widths, {{0, 1, 12}, {1, 1, 12}, {0, 2, 125}});
    EXPECT_EQ(widths, (std::vector<int>{12 + 51, 12 + 50}));
}

TEST(TableGeometry, SingleSpansTakeTheWidestCell) {
    std::vector<int> widths{0, 0, 0};
    SettleSpans(widths, {{0, 1, 5}, {0, 1, 9}, {2, 1, 4}, {1, 2, 10}});
    EXPECT_EQ(widths, (std::vector<int>{9, 3, 4 + 3}));
}

TEST(TableGeometry, ExtentCountsSpacingRulesAndBorder) {
    EXPECT_EQ(GridExtent({10, 20}, 3, 1), 30 + 3 * 3 + 1 + 2);
    EXPECT_EQ(GridExtent({}, 0, 0), 0);
}

// The text of a block, with each table written as "[n]".
std::string Parts(const BlockSource& block) {
    std::string out;
    for (const BlockSource::Part& part : block.parts) {
        if (part.table < 0) {
            out += part.run;
            continue;
        }
        out += '[';
        out += std::to_string(part.table);
        out += ']';
    }
    return out;
}

TEST(TableSourceReader, CutsRowsAndCellsAndKeepsNestedTablesInTheirCell) {
    const std::string text = "x<table border=1><tr><td a=1>one</td><td><table><tr><td>in</td></tr></table>!</td>"
                             "</tr><tr><td>two</table>y<<table>";
    const MarkupSource source = ReadMarkupSource(text);
    EXPECT_EQ(Parts(source.body), "x[0]y<<table>");
    ASSERT_EQ(source.tables.size(), 2u);
    const TableSource& table = source.tables[0];
    EXPECT_EQ(table.params, "border=1");
    ASSERT_EQ(table.rows.size(), 2u);
    ASSERT_EQ(table.rows[0].cells.size(), 2u);
    EXPECT_EQ(table.rows[0].cells[0].params, "a=1");
    EXPECT_EQ(Parts(table.rows[0].cells[0].content), "one");
    EXPECT_EQ(Parts(table.rows[0].cells[1].content), "[1]!");
    EXPECT_EQ(Parts(source.tables[1].rows.at(0).cells.at(0).content), "in");
    EXPECT_EQ(Parts(table.rows[1].cells[0].content), "two");
}

TEST(TableSourceReader, TablesBeyondTheDepthLimitStayText) {
    std::string text;
    for (int i = 0; i < kMaxTableDepth + 3; ++i) text += "<table><tr><td>";
    text += "core";
    for (int i = 0; i < kMaxTableDepth + 3; ++i) text += "</td></tr></table>";
    const MarkupSource source = ReadMarkupSource(text);
    ASSERT_EQ(source.tables.size(), static_cast<size_t>(kMaxTableDepth));
    const std::string innermost = Parts(source.tables.back().rows.at(0).cells.at(0).content);
    EXPECT_EQ(innermost, "<table><tr><td><table><tr><td><table><tr><td>core</td></tr></table></td></tr></table>"
                         "</td></tr></table>");
    Rendered r;
    r.render(text);
    EXPECT_EQ(r.surface.drawnText(), "core");
}

TEST(MarkupTables, BackgroundPictureIsDrawnOnceOverTheTable) {
    Rendered r;
    r.surface.resources[7] = PixelBuffer(4, 4, OpaquePixel(0x00ff00));
    r.render("<table background=idres:7><tr><td>a</td><td><table><tr><td>in</td></tr></table></td></tr>"
             "<tr><td>b</td></tr></table>");
    ASSERT_EQ(r.surface.images.size(), 1u);
    EXPECT_EQ(r.surface.images[0].rect.height(), r.size.height - 1);  // the whole table
}

TEST(MarkupTables, PastItsBudgetADrawingRendersBackgroundsSmallAndStretchesThem) {
    Rendered r;
    std::string text = "<table>";
    for (int i = 0; i < 6; ++i) text += "<tr><td bgcolor=red width=2048 height=2048>a</td></tr>";
    r.render(text + "</table>");
    for (int drawing = 0; drawing < 2; ++drawing) {
        ASSERT_EQ(r.surface.images.size(), 6u);
        for (size_t i = 0; i < 6; ++i) {
            const DrawnPixels& image = r.surface.images[i];
            const int side = i < 4 ? kMaxEffectSide : kSmallEffectSide;
            EXPECT_EQ(image.pixels.width, side) << i;
            EXPECT_EQ(image.pixels.height, side) << i;
            EXPECT_GT(image.rect.width(), kMaxEffectSide) << i;  // stretched over the whole cell
            EXPECT_EQ(RgbOfPixel(image.pixels.at(side - 1, side - 1)), 0xff0000u) << i;
        }
        r.redraw();  // a new drawing has the whole budget again
    }
}

TEST(MarkupTables, ColspanTwoSpreadsItsExtraWidth) {
    Rendered r;
    r.render("<table><tr><td colspan=2 width=121>w</td></tr><tr><td>a</td><td>b</td></tr></table>");
    const TableMetrics& t = r.drawer.records().tables.at(0);
    EXPECT_EQ(t.columnWidths, (std::vector<int>{12 + 51, 12 + 50}));
    EXPECT_EQ(t.width, 63 + 62 + 1);
    EXPECT_EQ(t.height, 17 + 17 + 1);
    EXPECT_EQ(r.size, (MarkupSize{127, 36}));
    EXPECT_EQ(r.text(2).x, 63 + 1 + 2);  // second column, inside the cell padding
    EXPECT_EQ(r.text(2).y, 17 + 1 + 2);
}

TEST(MarkupTables, PaddingSpacingAndBorderSizeTheTable) {
    Rendered r;
    r.render("<table cellpadding=4 cellspacing=3 border=2><tr><td>a</td><td>bb</td></tr></table>");
    const TableMetrics& t = r.drawer.records().tables.at(0);
    // cells: content + 2 x (padding 4 + 1-pixel cell border)
    EXPECT_EQ(t.columnWidths, (std::vector<int>{8 + 10, 16 + 10}));
    EXPECT_EQ(t.width, 18 + 26 + 3 * 3 + 1 + 2 * 2);
    EXPECT_EQ(t.height, 23 + 2 * 3 + 2 * 2);
    EXPECT_EQ(r.text(0).x, 2 + 3 + 1 + 4);
}

TEST(MarkupTables, SurplusWidthGoesToColumnsWithoutRequests) {
    Rendered r;
    r.render("<table><tr><td>a</td><td>b</td></tr></table>");
    r.redraw(125);
    EXPECT_EQ(r.text(1).x, 12 + 50 + 1 + 2);
    r.render("<table><tr><td width=20>a</td><td>b</td></tr></table>");
    r.redraw(125);
    EXPECT_EQ(r.text(1).x, 24 + 1 + 2);
}

TEST(MarkupTables, NarrowTableFollowsTheAlignment) {
    Rendered r;
    r.render("<center><table><tr><td width=20 align=left>a</td></tr></table></center>");
    r.redraw(124);
    EXPECT_EQ(r.text(0).x, (124 - 24) / 2 + 2);
}

TEST(MarkupTables, CellBackgroundBorderAndVerticalAlignment) {
    Rendered r;
    r.render("<table><tr><td bgcolor=red bordercolor=blue border=1 valign=middle height=40>a</td>"
             "<td>b</td></tr></table>");
    ASSERT_FALSE(r.surface.images.empty());
    EXPECT_EQ(RgbOfPixel(r.surface.images[0].pixels.at(0, 0)), 0xff0000u);
    EXPECT_EQ(r.surface.fills.at(0).colour, 0x0000ffu);
    // cell: 40 + 2 x 3 high; the 13-pixel content centred in the inner 40
    EXPECT_EQ(r.text(0).y, 3 + (40 - 13) / 2);
}

TEST(MarkupTables, BorderStylesAndColours) {
    Rendered r;
    r.render("<table border=1 bordercolorlight=red bordercolordark=blue><tr><td>a</td></tr></table>");
    ASSERT_FALSE(r.surface.fills.empty());
    EXPECT_EQ(r.surface.fills[0].colour, 0xff0000u);  // top and left light
    EXPECT_EQ(r.surface.fills[2].colour, 0x0000ffu);  // bottom and right dark
    EXPECT_EQ(r.surface.fills[0].rect, (MarkupRect{0, 0, r.size.width, 1}));  // stretched to the rectangle
    r.render("<table border=1 borderstyle=dotted><tr><td>abcd</td></tr></table>");
    size_t dots = 0;
    for (const auto& fill : r.surface.fills) dots += fill.rect.width() == 1 && fill.rect.height() == 1 ? 1 : 0;
    EXPECT_GT(dots, 20u);
    r.render("<table border=1 borderstyle=double><tr><td>a</td></tr></table>");
    EXPECT_EQ(r.drawer.records().tables[0].width, 14 + 6);  // cells inherit a 1-pixel border
}

TEST(MarkupTables, NestedTableAndTextAroundIt) {
    Rendered r;
    r.render("top<table><tr><td><table><tr><td>x</td></tr></table></td></tr></table>end");
    ASSERT_EQ(r.drawer.records().tables.size(), 2u);
    EXPECT_EQ(r.drawer.records().tables[1].width, 12);
    EXPECT_EQ(r.drawer.records().tables[0].width, 16);
    EXPECT_EQ(r.surface.drawnText(), "topxend");
    EXPECT_EQ(r.text(1).y, 13 + 2 + 2);
    EXPECT_EQ(r.text(2).y, 13 + 21);
}

}  // namespace
}  // namespace lumbra
