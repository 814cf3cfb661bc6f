#pragma once
// Where a markup tooltip goes and what shape it has: the body around the text, the anchor
// triangle on one side pointing at the cursor, and the mirroring at the screen's edges.
#include <array>

#include "toolkit/markup_surface.h"

namespace lumbra {

// The nine size settings of a tooltip.
struct ToolTipSizes {
    enum Index { kRoundWidth, kRoundHeight, kMarginX, kMarginY, kAnchorWidth, kAnchorHeight,
                 kAnchorOffset, kBorderExtraX, kBorderExtraY, kCount };
    std::array<int, kCount> values{};
    int operator[](Index i) const { return values[i]; }

    static ToolTipSizes Balloon() { return {{16, 16, 12, 12, 12, 16, 16, 0, 0}}; }
    static ToolTipSizes Rectangular() { return {{0, 0, 3, 1, 0, 0, 0, 0, 0}}; }
};

// Anchor directions: the side in steps of 16 (top, bottom, left, right edge of the tooltip),
// the place on that side 0 (at the offset from its start), 1 (from its end), 2 (on the cursor).
namespace anchor {
constexpr int kTop = 0, kBottom = 16, kLeft = 32, kRight = 48;
constexpr int kFromStart = 0, kFromEnd = 1, kOnCursor = 2;
}  // namespace anchor

struct MarkupPoint {
    int x = 0;
    int y = 0;
    bool operator==(const MarkupPoint&) const = default;
};

struct ToolTipShape {
    MarkupRect window;  // on the screen, shadow included
    MarkupRect body;    // the rounded rectangle, within the window
    MarkupRect text;    // where the markup is drawn, within the window
    std::array<MarkupPoint, 3> anchor{};  // base, base, tip; within the window
    bool hasAnchor = false;
    int direction = 0;  // after mirroring
};

// Lays a tooltip of the given text size out at the cursor. When it would leave the screen
// the anchor goes to the opposite side (or end) of the tooltip; what still sticks out is
// pushed back onto the screen.
ToolTipShape LayoutToolTip(MarkupSize textSize, const ToolTipSizes& sizes, int direction, MarkupPoint cursor,
                           const MarkupRect& screen, MarkupPoint shadowOffset);

}  // namespace lumbra
