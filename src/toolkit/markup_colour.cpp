#include "toolkit/markup_colour.h"

#include <cstdlib>

namespace lumbra {

namespace {

struct NamedColour {
    const char* name;
    Rgb value;
};

constexpr NamedColour kCssColours[140] = {
    {"aqua", 0x00ffff}, {"black", 0x000000}, {"blue", 0x0000ff}, {"brown", 0xa52a2a},
    {"cyan", 0x00ffff}, {"gold", 0xffd700}, {"gray", 0x808080}, {"green", 0x008000},
    {"magenta", 0xff00ff}, {"maroon", 0x800000}, {"navy", 0x000080}, {"olive", 0x808000},
    {"orange", 0xffa500}, {"pink", 0xffc0cb}, {"purple", 0x800080}, {"red", 0xff0000},
    {"silver", 0xc0c0c0}, {"snow", 0xfffafa}, {"violet", 0xee82ee}, {"white", 0xffffff},
    {"yellow", 0xffff00}, {"aliceblue", 0xf0f8ff}, {"antiquewhite", 0xfaebd7},
    {"aquamarine", 0x7fffd4}, {"azure", 0xf0ffff}, {"beige", 0xf5f5dc}, {"bisque", 0xffe4c4},
    {"blanchedalmond", 0xffebcd}, {"blueviolet", 0x8a2be2}, {"burlywood", 0xdeb887},
    {"cadetblue", 0x5f9ea0}, {"chartreuse", 0x7fff00}, {"chocolate", 0xd2691e},
    {"coral", 0xff7f50}, {"cornflowerblue", 0x6495ed}, {"cornsilk", 0xfff8dc},
    {"crimson", 0xdc143c}, {"darkblue", 0x00008b}, {"darkcyan", 0x008b8b},
    {"darkgoldenrod", 0xb8860b}, {"darkgray", 0xa9a9a9}, {"darkgreen", 0x006400},
    {"darkkhaki", 0xbdb76b}, {"darkmagenta", 0x8b008b}, {"darkolivegreen", 0x556b2f},
    {"darkorange", 0xff8c00}, {"darkorchid", 0x9932cc}, {"darkred", 0x8b0000},
    {"darksalmon", 0xe9967a}, {"darkseagreen", 0x8fbc8f}, {"darkslateblue", 0x483d8b},
    {"darkslategray", 0x2f4f4f}, {"darkturquoise", 0x00ced1}, {"darkviolet", 0x9400d3},
    {"deeppink", 0xff1493}, {"deepskyblue", 0x00bfff}, {"dimgray", 0x696969},
    {"dodgerblue", 0x1e90ff}, {"firebrick", 0xb22222}, {"floralwhite", 0xfffaf0},
    {"forestgreen", 0x228b22}, {"fuchsia", 0xff00ff}, {"gainsboro", 0xdcdcdc},
    {"ghostwhite", 0xf8f8ff}, {"goldenrod", 0xdaa520}, {"greenyellow", 0xadff2f},
    {"honeydew", 0xf0fff0}, {"hotpink", 0xff69b4}, {"indianred", 0xcd5c5c}, {"indigo", 0x4b0082},
    {"ivory", 0xfffff0}, {"khaki", 0xf0e68c}, {"lavender", 0xe6e6fa},
    {"lavenderblush", 0xfff0f5}, {"lawngreen", 0x7cfc00}, {"lemonchiffon", 0xfffacd},
    {"lightblue", 0xadd8e6}, {"lightcoral", 0xf08080}, {"lightcyan", 0xe0ffff},
    {"lightgoldenrodyellow", 0xfafad2}, {"lightgreen", 0x90ee90}, {"lightgrey", 0xd3d3d3},
    {"lightpink", 0xffb6c1}, {"lightsalmon", 0xffa07a}, {"lightseagreen", 0x20b2aa},
    {"lightskyblue", 0x87cefa}, {"lightslategray", 0x778899}, {"lightsteelblue", 0xb0c4de},
    {"lightyellow", 0xffffe0}, {"lime", 0x00ff00}, {"limegreen", 0x32cd32}, {"linen", 0xfaf0e6},
    {"mediumaquamarine", 0x66cdaa}, {"mediumblue", 0x0000cd}, {"mediumorchid", 0xba55d3},
    {"mediumpurple", 0x9370db}, {"mediumseagreen", 0x3cb371}, {"mediumslateblue", 0x7b68ee},
    {"mediumspringgreen", 0x00fa9a}, {"mediumturquoise", 0x48d1cc},
    {"mediumvioletred", 0xc71585}, {"midnightblue", 0x191970}, {"mintcream", 0xf5fffa},
    {"mistyrose", 0xffe4e1}, {"moccasin", 0xffe4b5}, {"navajowhite", 0xffdead},
    {"oldlace", 0xfdf5e6}, {"olivedrab", 0x6b8e23}, {"orangered", 0xff4500},
    {"orchid", 0xda70d6}, {"palegoldenrod", 0xeee8aa}, {"palegreen", 0x98fb98},
    {"paleturquoise", 0xafeeee}, {"palevioletred", 0xdb7093}, {"papayawhip", 0xffefd5},
    {"peachpuff", 0xffdab9}, {"peru", 0xcd853f}, {"plum", 0xdda0dd}, {"powderblue", 0xb0e0e6},
    {"rosybrown", 0xbc8f8f}, {"royalblue", 0x4169e1}, {"saddlebrown", 0x8b4513},
    {"salmon", 0xfa8072}, {"sandybrown", 0xf4a460}, {"seagreen", 0x2e8b57},
    {"seashell", 0xfff5ee}, {"sienna", 0xa0522d}, {"skyblue", 0x87ceeb}, {"slateblue", 0x6a5acd},
    {"slategray", 0x708090}, {"springgreen", 0x00ff7f}, {"steelblue", 0x4682b4},
    {"tan", 0xd2b48c}, {"teal", 0x008080}, {"thistle", 0xd8bfd8}, {"tomato", 0xff6347},
    {"turquoise", 0x40e0d0}, {"wheat", 0xf5deb3}, {"whitesmoke", 0xf5f5f5},
    {"yellowgreen", 0x9acd32},
};

struct SystemName {
    const char* name;
    int index;
};

constexpr SystemName kSystemNames[28] = {
    {"activeborder", system_colour::kActiveBorder},
    {"activecaption", system_colour::kActiveCaption},
    {"appworkspace", system_colour::kAppWorkspace},
    {"background", system_colour::kBackground},
    {"buttonface", system_colour::kButtonFace},
    {"buttonhighlight", system_colour::kButtonHighlight},
    {"buttonshadow", system_colour::kButtonShadow},
    {"buttontext", system_colour::kButtonText},
    {"captiontext", system_colour::kCaptionText},
    {"graytext", system_colour::kGrayText},
    {"highlight", system_colour::kHighlight},
    {"highlighttext", system_colour::kHighlightText},
    {"window", system_colour::kWindow},
    {"windowframe", system_colour::kWindowFrame},
    {"inactiveborder", system_colour::kInactiveBorder},
    {"inactivecaption", system_colour::kInactiveCaption},
    {"inactivecaptiontext", system_colour::kInactiveCaptionText},
    {"infobackground", system_colour::kInfoBackground},
    {"infotext", system_colour::kInfoText},
    {"menu", system_colour::kMenu},
    {"menutext", system_colour::kMenuText},
    {"scrollbar", system_colour::kScrollBar},
    {"threeddarkshadow", system_colour::kDarkShadow},
    {"threedface", system_colour::kButtonFace},
    {"threedhighlight", system_colour::kButtonHighlight},
    {"threedlightshadow", system_colour::kLight},
    {"threedshadow", system_colour::kButtonShadow},
    {"windowtext", system_colour::kWindowText},
};

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

SystemColourScheme ClassicColourScheme() {
    return {0xd4d0c8, 0x3a6ea5, 0x0a246a, 0x808080, 0xd4d0c8, 0xffffff, 0x000000,
            0x000000, 0x000000, 0xffffff, 0xd4d0c8, 0xd4d0c8, 0x808080, 0x0a246a,
            0xffffff, 0xd4d0c8, 0x808080, 0x808080, 0x000000, 0xd4d0c8, 0xffffff,
            0x404040, 0xd4d0c8, 0x000000, 0xffffe1};
}

ColourTable::ColourTable(const SystemColourScheme& scheme) {
    size_t n = 0;
    for (const auto& c : kCssColours) entries_[n++] = {c.name, c.value};
    for (const auto& s : kSystemNames) entries_[n++] = {s.name, scheme[static_cast<size_t>(s.index)]};
}

const Rgb* ColourTable::find(std::string_view name) const {
    for (const auto& e : entries_) {
        if (name == e.name) return &e.value;
    }
    return nullptr;
}

size_t ColourTable::size() const { return entries_.size(); }

Rgb ParseColour(std::string_view value, Rgb current, const ColourTable& table) {
    if (value.empty()) return current;
    if (value[0] == '#') {
        if (value.size() != 7) return current;
        for (size_t i = 1; i < 7; ++i) {
            if (!IsHexDigit(value[i])) return current;
        }
        return static_cast<Rgb>(std::strtoul(std::string(value.substr(1)).c_str(), nullptr, 16));
    }
    if (value[0] >= '0' && value[0] <= '9') {
        return RgbFromPlatformNumber(std::strtoul(std::string(value).c_str(), nullptr, 0));
    }
    if (const Rgb* named = table.find(value)) return *named;
    return current;
}

}  // namespace lumbra
