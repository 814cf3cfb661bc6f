#pragma once
// Border widths and grid positions shared by the measuring and the drawing of tables.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "toolkit/markup_size.h"
#include "toolkit/markup_style.h"

namespace lumbra::table_geometry {

// Table and cell backgrounds are drawn with this granularity.
constexpr int kGranularity = 5;
// Backgrounds larger than this on a side are rendered at this size and stretched.
constexpr int kMaxEffectSide = 2048;
// A drawing pass renders at most this many background pixels at full size (four of the
// largest); past it, backgrounds are rendered at most kSmallEffectSide on a side and stretched,
// so a text of many large cells still draws in a moment.
constexpr int64_t kEffectPixelBudget = 4LL * kMaxEffectSide * kMaxEffectSide;
constexpr int kSmallEffectSide = 64;

// A table's border after normalising: none, 3 on each side for double, 1 for the other
// non-solid styles, else its width.
inline int TableBorderWidth(const MarkupStyle& style) {
    if (style.borderStyle == BorderStyle::None || style.borderWidth <= 0) return 0;
    if (style.borderStyle == BorderStyle::Double) return 3;
    return style.borderStyle == BorderStyle::Solid ? style.borderWidth : 1;
}

// A cell's border is always one pixel when it has one.
inline int CellBorderWidth(const MarkupStyle& style) {
    return style.borderStyle == BorderStyle::None || style.borderWidth <= 0 ? 0 : 1;
}

// Where each column (row) starts: spacing before each, a one-pixel rule between them.
inline std::vector<int> Positions(const std::vector<int>& sizes, int start, int spacing) {
    std::vector<int> positions;
    int at = start + spacing;
    for (int size : sizes) {
        positions.push_back(at);
        at = AddExtent(at, AddExtent(size, spacing + 1));
    }
    return positions;
}

inline int SpanExtent(const std::vector<int>& sizes, int first, int span, int spacing) {
    const int last = std::min(first + span, static_cast<int>(sizes.size()));
    int extent = 0;
    for (int k = first; k < last; ++k) extent = AddExtent(extent, sizes[static_cast<size_t>(k)]);
    return AddExtent(extent, ScaleExtent(spacing + 1, std::max(last - first - 1, 0), 1));
}

// A cell's wish: `size` pixels over `span` entries from `first`.
struct SpanRequest {
    int first = 0;
    int span = 1;
    int size = 0;
};

// Column widths (row heights) span by span: single spans take the largest cell; a cell over
// i entries that sum to less than it grows each by difference / i, the first also by the rest.
void SettleSpans(std::vector<int>& sizes, const std::vector<SpanRequest>& requests);

// Shares `extra` equally among the chosen entries, the last of them taking what remains.
// False when none is chosen.
bool ShareExtra(std::vector<int>& sizes, const std::vector<bool>& chosen, int extra);

// Width (height) of the whole grid: the entries, spacing around each, a rule between them
// and the border on both sides.
int GridExtent(const std::vector<int>& sizes, int spacing, int border);

}  // namespace lumbra::table_geometry
