// Tables of a pass: cell attributes, column widths and row heights, surplus width, alignment,
// backgrounds, borders and the cells' content.
#include <algorithm>

#include "toolkit/markup_effects.h"
#include "toolkit/markup_pass.h"
#include "toolkit/markup_table_geometry.h"

namespace lumbra {

using namespace table_geometry;

void MarkupPass::applyCellAttributes(const std::string& params, int* rowSpan, int* columnSpan) {
    const SizeContext sizes = sizeContext();
    bool colourGiven = false;
    for (const auto& [name, value] : ParseAttributes(params)) {
        if (name == "rowspan" && rowSpan) *rowSpan = std::clamp(ParseSize(value, 1, sizes), 1, 1000);
        if (name == "colspan" && columnSpan) *columnSpan = std::clamp(ParseSize(value, 1, sizes), 1, 1000);
        if (name == "border") ApplyBorderWidth(style_, value, sizes);
        if (name == "borderstyle") ApplyBorderStyle(style_, value);
        if (name == "bordercolor") style_.borderLight = style_.borderDark = ParseColour(value, style_.borderLight, colours_);
        if (name == "bordercolorlight") style_.borderLight = ParseColour(value, style_.borderLight, colours_);
        if (name == "bordercolordark") style_.borderDark = ParseColour(value, style_.borderDark, colours_);
        if (name == "bgcolor") {
            style_.backgroundColour = ParseColour(value, style_.backgroundColour, colours_);
            colourGiven = true;
        }
        if (name == "bgmidcolor") style_.backgroundMiddle = ParseColour(value, style_.backgroundMiddle, colours_);
        if (name == "bgendcolor") style_.backgroundEnd = ParseColour(value, style_.backgroundEnd, colours_);
        if (name == "bgeffect") style_.backgroundEffect = EffectNumber(value);
        if (name == "align") ApplyTextAlign(style_, value);
        if (name == "valign") ApplyVerticalAlign(style_, value);
        if (name == "width") style_.width = std::max(ParseSize(value, style_.width, sizes), 0);
        if (name == "height") style_.height = std::max(ParseSize(value, style_.height, sizes), 0);
        if (name == "cellpadding") style_.margin = std::max(ParseSize(value, style_.margin, sizes), 0);
        if (name == "cellspacing") style_.padding = std::max(ParseSize(value, style_.padding, sizes), 0);
    }
    if (colourGiven && style_.backgroundEffect == kNoEffect) style_.backgroundEffect = effect::kSolid;
}

MarkupSize MarkupPass::layoutTable(const TableSource& table, int left, int top, int available) {
    const MarkupStyle outer = style_;
    const size_t depth = stack_.size();
    applyRule("table");
    style_.width = style_.height = 0;
    applyCellAttributes(table.params, nullptr, nullptr);
    // A picture belongs to the table that names it, never to its rows, cells or inner tables.
    const MarkupAttributes attributes = ParseAttributes(table.params);
    const std::string* picture = FindAttribute(attributes, "background");
    style_.backgroundImage = picture ? *picture : std::string();
    selectStyle();
    TableMetrics metrics;
    if (!settings_.drawing) {
        const size_t slot = records_.tables.size();
        records_.tables.emplace_back();
        metrics = measureTable(table);
        records_.tables[slot] = metrics;
    } else if (tableCursor_ < records_.tables.size()) {
        metrics = records_.tables[tableCursor_++];
        drawTable(table, metrics, left, top, available);
    }
    style_ = outer;
    stack_.resize(depth);
    selectStyle();
    return {metrics.width, metrics.height};
}

MarkupSize MarkupPass::layoutCell(const BlockSource& content, int left, int top, int available) {
    const MarkupStyle cellStyle = style_;
    const size_t depth = stack_.size();
    const MarkupSize size = layoutBlock(content, left, top, available);
    style_ = cellStyle;
    stack_.resize(depth);
    selectStyle();
    return size;
}

TableMetrics MarkupPass::measureTable(const TableSource& table) {
    TableMetrics m;
    const MarkupStyle tableStyle = style_;
    std::vector<std::vector<bool>> taken;
    auto occupy = [&](int row, int column) -> std::vector<bool>::reference {
        if (taken.size() <= static_cast<size_t>(row)) taken.resize(static_cast<size_t>(row) + 1);
        auto& cells = taken[static_cast<size_t>(row)];
        if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1, false);
        return cells[static_cast<size_t>(column)];
    };
    const int rows = static_cast<int>(table.rows.size());
    int columns = 0;
    for (int r = 0; r < rows; ++r) {
        const RowSource& row = table.rows[static_cast<size_t>(r)];
        const MarkupStyle beforeRow = style_;
        applyRule("tr");
        applyCellAttributes(row.params, nullptr, nullptr);
        int column = 0;
        for (const CellSource& cell : row.cells) {
            while (occupy(r, column)) ++column;
            const MarkupStyle beforeCell = style_;
            applyRule("td");
            style_.width = style_.height = 0;
            CellMetrics c;
            applyCellAttributes(cell.params, &c.rowSpan, &c.columnSpan);
            c.rowSpan = std::min(c.rowSpan, rows - r);
            selectStyle();
            const MarkupSize content = layoutCell(cell.content, 0, 0, 0);
            const int pad = style_.margin + CellBorderWidth(style_);
            c.row = r;
            c.column = column;
            c.contentWidth = content.width;
            c.contentHeight = content.height;
            c.width = AddExtent(std::max(content.width, style_.width), 2 * pad);
            c.height = AddExtent(std::max(content.height, style_.height), 2 * pad);
            c.widthRequested = style_.width > 0;
            m.cells.push_back(c);
            for (int dr = 0; dr < c.rowSpan; ++dr) {
                for (int dc = 0; dc < c.columnSpan; ++dc) occupy(r + dr, column + dc) = true;
            }
            column += c.columnSpan;
            columns = std::max(columns, column);
            style_ = beforeCell;
        }
        style_ = beforeRow;
    }
    selectStyle();
    m.columnWidths.assign(static_cast<size_t>(columns), 0);
    m.rowHeights.assign(static_cast<size_t>(rows), 0);
    m.columnRequested.assign(static_cast<size_t>(columns), false);
    std::vector<SpanRequest> columnRequests, rowRequests;
    for (const CellMetrics& c : m.cells) {
        columnRequests.push_back({c.column, c.columnSpan, c.width});
        rowRequests.push_back({c.row, c.rowSpan, c.height});
        for (int k = 0; c.widthRequested && k < c.columnSpan; ++k) {
            m.columnRequested[static_cast<size_t>(c.column + k)] = true;
        }
    }
    SettleSpans(m.columnWidths, columnRequests);
    SettleSpans(m.rowHeights, rowRequests);
    const int border = TableBorderWidth(tableStyle);
    const int spacing = tableStyle.padding;
    m.width = GridExtent(m.columnWidths, spacing, border);
    m.height = GridExtent(m.rowHeights, spacing, border);
    if (tableStyle.width > m.width) {
        ShareExtra(m.columnWidths, std::vector<bool>(m.columnWidths.size(), true), tableStyle.width - m.width);
        m.width = GridExtent(m.columnWidths, spacing, border);
    }
    if (tableStyle.height > m.height) {
        ShareExtra(m.rowHeights, std::vector<bool>(m.rowHeights.size(), true), tableStyle.height - m.height);
        m.height = GridExtent(m.rowHeights, spacing, border);
    }
    return m;
}

}  // namespace lumbra
