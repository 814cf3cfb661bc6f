// Drawing a measured table: surplus width, placement, backgrounds, borders and cells.
#include <algorithm>

#include "toolkit/markup_effects.h"
#include "toolkit/markup_pass.h"
#include "toolkit/markup_table_geometry.h"

namespace lumbra {

using namespace table_geometry;

void MarkupPass::drawTable(const TableSource& table, TableMetrics m, int left, int top, int available) {
    const MarkupStyle tableStyle = style_;
    int width = m.width;
    if (available > width) {
        std::vector<bool> free(m.columnWidths.size());
        for (size_t c = 0; c < free.size(); ++c) free[c] = !m.columnRequested[c];
        if (ShareExtra(m.columnWidths, free, available - width)) width = available;
    }
    int x = left;
    if (width < available && tableStyle.horizontalAlign == HorizontalAlign::Center) x += (available - width) / 2;
    if (width < available && tableStyle.horizontalAlign == HorizontalAlign::Right) x += available - width;
    const MarkupRect rect{x, top, x + width, top + m.height};
    drawBackground(tableStyle, rect);
    style_.backgroundImage.clear();  // drawn once, over the whole table
    const int border = TableBorderWidth(tableStyle);
    drawBorder(tableStyle, rect, border);

    const int spacing = tableStyle.padding;
    const std::vector<int> columnX = Positions(m.columnWidths, x + border, spacing);
    const std::vector<int> rowY = Positions(m.rowHeights, top + border, spacing);
    size_t next = 0;
    for (const RowSource& row : table.rows) {
        const MarkupStyle beforeRow = style_;
        applyRule("tr");
        applyCellAttributes(row.params, nullptr, nullptr);
        for (const CellSource& cell : row.cells) {
            if (next >= m.cells.size()) break;
            const CellMetrics& c = m.cells[next++];
            const MarkupStyle beforeCell = style_;
            applyRule("td");
            style_.width = style_.height = 0;
            applyCellAttributes(cell.params, nullptr, nullptr);
            selectStyle();
            const int cellLeft = columnX[static_cast<size_t>(c.column)];
            const int cellTop = rowY[static_cast<size_t>(c.row)];
            const MarkupRect box{cellLeft, cellTop,
                                 cellLeft + SpanExtent(m.columnWidths, c.column, c.columnSpan, spacing),
                                 cellTop + SpanExtent(m.rowHeights, c.row, c.rowSpan, spacing)};
            drawBackground(style_, box);
            drawBorder(style_, box, CellBorderWidth(style_));
            const int pad = style_.margin + CellBorderWidth(style_);
            const int innerHeight = box.height() - 2 * pad;
            int offset = 0;
            if (style_.verticalAlign == VerticalAlign::Middle) offset = (innerHeight - c.contentHeight) / 2;
            if (style_.verticalAlign == VerticalAlign::Bottom) offset = innerHeight - c.contentHeight;
            layoutCell(cell.content, box.left + pad, box.top + pad + std::max(offset, 0), box.width() - 2 * pad);
            style_ = beforeCell;
        }
        style_ = beforeRow;
    }
    selectStyle();
}

void MarkupPass::drawBackground(const MarkupStyle& style, const MarkupRect& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    if (style.backgroundEffect >= 0) {
        const EffectColours colours{style.backgroundColour, style.backgroundMiddle, style.backgroundEnd};
        // A large background is rendered at a bounded size and stretched over its rectangle.
        int width = std::min(rect.width(), kMaxEffectSide);
        int height = std::min(rect.height(), kMaxEffectSide);
        if (static_cast<int64_t>(width) * height > effectPixelsLeft_) {
            width = std::min(width, kSmallEffectSide);
            height = std::min(height, kSmallEffectSide);
        }
        effectPixelsLeft_ = std::max<int64_t>(effectPixelsLeft_ - static_cast<int64_t>(width) * height, 0);
        const PixelBuffer fill = RenderBackgroundEffect(style.backgroundEffect, width, height, colours, kGranularity);
        if (!fill.empty()) surface_.drawPixels(fill, rect);
        return;
    }
    const std::string& image = style.backgroundImage;
    const size_t colon = image.find(':');
    if (image.size() <= 5 || colon == std::string::npos) return;
    const std::string key = image.substr(0, colon);
    const std::string value = image.substr(colon + 1);
    ImageSource source;
    if (key == "idres") source.resource = ParseSize(value, 0, sizeContext());
    if (key == "iddll") source.moduleResource = ParseSize(value, 0, sizeContext());
    if (key == "file") source.file = value;
    if (key != "idres" && key != "iddll" && key != "file") return;
    if (auto picture = surface_.loadImage(source); picture && !picture->empty()) {
        surface_.drawPixels(*picture, rect);
    }
}

void MarkupPass::drawBorder(const MarkupStyle& style, const MarkupRect& rect, int width) {
    if (width <= 0) return;
    // Dotted borders draw one pixel in two, dashed ones three in five.
    const int on = style.borderStyle == BorderStyle::Dotted ? 1 : 3;
    const int period = style.borderStyle == BorderStyle::Dotted ? 2 : style.borderStyle == BorderStyle::Dashed ? 5 : 0;
    auto line = [&](int x1, int y1, int x2, int y2, Rgb colour) {
        if (period == 0) {
            surface_.fillRect({x1, y1, x2, y2}, colour);
            return;
        }
        const bool across = x2 - x1 > y2 - y1;
        for (int at = across ? x1 : y1; at < (across ? x2 : y2); ++at) {
            if ((at - (across ? x1 : y1)) % period >= on) continue;
            surface_.fillRect(across ? MarkupRect{at, y1, at + 1, y2} : MarkupRect{x1, at, x2, at + 1}, colour);
        }
    };
    auto frame = [&](const MarkupRect& r, int thickness) {
        for (int i = 0; i < thickness; ++i) {
            line(r.left, r.top + i, r.right, r.top + i + 1, style.borderLight);
            line(r.left + i, r.top, r.left + i + 1, r.bottom, style.borderLight);
            line(r.left, r.bottom - i - 1, r.right, r.bottom - i, style.borderDark);
            line(r.right - i - 1, r.top, r.right - i, r.bottom, style.borderDark);
        }
    };
    if (style.borderStyle == BorderStyle::Double && width >= 3) {
        frame(rect, 1);
        frame({rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2}, 1);
        return;
    }
    frame(rect, width);
}

}  // namespace lumbra
