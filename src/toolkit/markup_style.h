#pragma once
// One open style of the markup: font, colours, alignment, borders, backgrounds and link.
#include <string>

#include "toolkit/colour_lighten.h"
#include "toolkit/markup_text.h"

namespace lumbra {

enum class HorizontalAlign { Left, Center, Right, Justify };
enum class VerticalAlign { Top, Middle, Bottom, Baseline };
enum class BorderStyle { None, Solid, Dashed, Dotted, Double };
enum class LinkKind { None, Href, Message };

constexpr int kNoEffect = -1;

struct MarkupStyle {
    std::string name;  // style-stack name of the tag that opened this style
    int size = 16;     // font cell height in pixels
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool overline = false;
    std::string face = "Verdana";
    Rgb textColour = 0x000000;
    Rgb backgroundColour = 0xffffff;
    Rgb borderLight = 0x000000;
    Rgb borderDark = 0x000000;
    Rgb backgroundMiddle = 0xffffff;
    Rgb backgroundEnd = 0xffffff;
    bool opaque = false;  // background mode
    int backgroundEffect = kNoEffect;
    std::string backgroundImage;
    HorizontalAlign horizontalAlign = HorizontalAlign::Left;
    VerticalAlign verticalAlign = VerticalAlign::Baseline;
    BorderStyle borderStyle = BorderStyle::None;
    int borderWidth = 0;
    int width = 0;   // size request of a table or cell
    int height = 0;
    TextTransform transform = TextTransform::None;
    int margin = 2;   // cell padding of a table
    int padding = 0;  // cell spacing of a table
    LinkKind linkKind = LinkKind::None;
    std::string linkTarget;
    int linkIndex = -1;  // which link of the text this style belongs to
};

// What the drawing surface needs to create the font of a style.
struct FontSpec {
    int size = 16;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    std::string face;
    bool operator==(const FontSpec&) const = default;
};

inline FontSpec FontOf(const MarkupStyle& style) {
    return {style.size, style.weight, style.italic, style.underline, style.strikeout, style.face};
}

}  // namespace lumbra
