#pragma once
// What the measuring pass records for the drawing pass: lines, tables, animations; and the
// link rectangles that the drawing pass leaves for mouse handling.
#include <string>
#include <vector>

#include "toolkit/markup_image.h"
#include "toolkit/markup_style.h"
#include "toolkit/markup_surface.h"

namespace lumbra {

struct LineMetrics {
    int width = 0;
    int ascent = 0;   // while measuring the ascent; at the line's end the line height
    int descent = 0;
    int rulePercent = 0;  // sum of the percentages of "hr" widths on the line
    HorizontalAlign align = HorizontalAlign::Left;
    int spaces = 0;
    bool wrapped = false;
};

struct LinkArea {
    MarkupRect rect;
    LinkKind kind = LinkKind::None;
    int index = -1;
    std::string target;
};

struct CellMetrics {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    int contentWidth = 0;
    int contentHeight = 0;
    int width = 0;   // with padding and border
    int height = 0;
    bool widthRequested = false;
};

struct TableMetrics {
    std::vector<int> columnWidths;
    std::vector<int> rowHeights;
    std::vector<bool> columnRequested;
    std::vector<CellMetrics> cells;
    int width = 0;
    int height = 0;
};

struct LayoutRecords {
    std::vector<LineMetrics> lines;
    std::vector<TableMetrics> tables;
    std::vector<ImageAnimation> animations;
    std::vector<LinkArea> links;
};

}  // namespace lumbra
