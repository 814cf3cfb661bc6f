#include "toolkit/tool_tip_geometry.h"

#include <algorithm>

namespace lumbra {

namespace {

struct Placement {
    ToolTipShape shape;
    bool fitsX = true;
    bool fitsY = true;
};

Placement Place(MarkupSize bodySize, const ToolTipSizes& s, int direction, MarkupPoint cursor,
                const MarkupRect& screen, MarkupPoint shadow) {
    ToolTipShape shape;
    shape.direction = direction;
    const int side = direction / 16;
    const int place = direction % 16;
    const int anchorWidth = s[ToolTipSizes::kAnchorWidth];
    const int anchorHeight = s[ToolTipSizes::kAnchorHeight];
    const int offset = s[ToolTipSizes::kAnchorOffset];
    shape.hasAnchor = anchorWidth > 0 && anchorHeight > 0;
    const int reach = shape.hasAnchor ? anchorHeight : 0;
    const bool vertical = side == 2 || side == 3;  // anchor on the left or right edge
    const int bodyX = side == 2 ? reach : 0;
    const int bodyY = side == 0 ? reach : 0;
    shape.body = {bodyX, bodyY, bodyX + bodySize.width, bodyY + bodySize.height};
    const int length = vertical ? bodySize.height : bodySize.width;
    int baseStart = place == anchor::kFromEnd ? length - offset - anchorWidth : offset;
    if (place == anchor::kOnCursor) baseStart = (length - anchorWidth) / 2;
    baseStart = std::clamp(baseStart, 0, std::max(length - anchorWidth, 0));
    const int tipAlong = place == anchor::kFromStart ? baseStart
                         : place == anchor::kFromEnd ? baseStart + anchorWidth
                                                     : baseStart + anchorWidth / 2;
    MarkupPoint tip;
    if (side == 0) {
        shape.anchor = {{{bodyX + baseStart, bodyY}, {bodyX + baseStart + anchorWidth, bodyY}, {bodyX + tipAlong, 0}}};
    } else if (side == 1) {
        const int edge = shape.body.bottom;
        shape.anchor = {{{baseStart, edge}, {baseStart + anchorWidth, edge}, {tipAlong, edge + reach}}};
    } else if (side == 2) {
        shape.anchor = {{{bodyX, baseStart}, {bodyX, baseStart + anchorWidth}, {0, tipAlong}}};
    } else {
        const int edge = shape.body.right;
        shape.anchor = {{{edge, baseStart}, {edge, baseStart + anchorWidth}, {edge + reach, tipAlong}}};
    }
    tip = shape.anchor[2];
    const int width = bodySize.width + (vertical ? reach : 0) + shadow.x;
    const int height = bodySize.height + (vertical ? 0 : reach) + shadow.y;
    const int left = cursor.x - tip.x;
    const int top = cursor.y - tip.y;
    shape.window = {left, top, left + width, top + height};
    shape.text = {shape.body.left + s[ToolTipSizes::kMarginX], shape.body.top + s[ToolTipSizes::kMarginY],
                  shape.body.right - s[ToolTipSizes::kMarginX], shape.body.bottom - s[ToolTipSizes::kMarginY]};
    return {shape, shape.window.left >= screen.left && shape.window.right <= screen.right,
            shape.window.top >= screen.top && shape.window.bottom <= screen.bottom};
}

int MirrorSide(int direction) {
    const int side = direction / 16;
    const int mirrored[] = {1, 0, 3, 2};
    return mirrored[side & 3] * 16 + direction % 16;
}

int MirrorPlace(int direction) {
    const int place = direction % 16;
    const int mirrored = place == anchor::kFromStart ? anchor::kFromEnd
                         : place == anchor::kFromEnd ? anchor::kFromStart
                                                     : place;
    return direction / 16 * 16 + mirrored;
}

}  // namespace

ToolTipShape LayoutToolTip(MarkupSize textSize, const ToolTipSizes& sizes, int direction, MarkupPoint cursor,
                           const MarkupRect& screen, MarkupPoint shadowOffset) {
    if (direction / 16 > 3 || direction % 16 > 2 || direction < 0) direction = anchor::kBottom;
    const MarkupSize body{textSize.width + 2 * sizes[ToolTipSizes::kMarginX] + sizes[ToolTipSizes::kBorderExtraX],
                          textSize.height + 2 * sizes[ToolTipSizes::kMarginY] + sizes[ToolTipSizes::kBorderExtraY]};
    Placement placed = Place(body, sizes, direction, cursor, screen, shadowOffset);
    const bool sideways = direction / 16 >= 2;
    // Overflow across the anchor's side turns the tooltip over; along it, moves the anchor.
    if (sideways ? !placed.fitsX : !placed.fitsY) {
        direction = MirrorSide(direction);
        placed = Place(body, sizes, direction, cursor, screen, shadowOffset);
    }
    if (sideways ? !placed.fitsY : !placed.fitsX) {
        direction = MirrorPlace(direction);
        placed = Place(body, sizes, direction, cursor, screen, shadowOffset);
    }
    ToolTipShape& shape = placed.shape;
    const int dx = std::max(std::min(0, screen.right - shape.window.right), screen.left - shape.window.left);
    const int dy = std::max(std::min(0, screen.bottom - shape.window.bottom), screen.top - shape.window.top);
    shape.window = {shape.window.left + dx, shape.window.top + dy, shape.window.right + dx, shape.window.bottom + dy};
    return shape;
}

}  // namespace lumbra
