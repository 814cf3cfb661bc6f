#include "toolkit/markup_style_sheet.h"

#include <algorithm>
#include <cstdlib>

namespace lumbra {

const char* const kDefaultStyleSheet =
    "body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
    "p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    "h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    "h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    "h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
    "h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    "h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    "h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
    "pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
    "code {color:#990000; font-family:Arial}\r\n"
    "a:link {text-decoration:none; color:blue}\r\n"
    "a:hover {text-decoration:underline; color:blue}\r\n"
    "sub {font-size:65%; vertical-align:bottom}\r\n"
    "sup {font-size:65%; vertical-align:top}\r\n"
    "big {font-size:125%}\r\n"
    "small {font-size:75%}\r\n"
    ".cpp-comment {color:green; font-style:italic}\r\n";

namespace {

bool IsSelectorStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\r' || text.front() == '\n' ||
                             text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

void ApplyTextDecoration(MarkupStyle& style, std::string_view value) {
    if (value.empty()) value = "none";
    size_t pos = 0;
    while (pos < value.size()) {
        const size_t end = std::min(value.find_first_of(" ,", pos), value.size());
        const std::string_view word = value.substr(pos, end - pos);
        if (word == "none") {
            style.underline = style.strikeout = style.overline = false;
        } else if (word == "underline") {
            style.underline = true;
        } else if (word == "line-through") {
            style.strikeout = true;
        } else if (word == "overline") {
            style.overline = true;
        }
        pos = end + 1;
    }
}

void ApplyProperty(MarkupStyle& style, std::string_view property, std::string_view value,
                   const StyleContext& context) {
    if (property == "font-size") {
        style.size = ParseSize(value, style.size, context.sizes, true);
    } else if (property == "font-family") {
        if (!value.empty()) style.face = std::string(value);
    } else if (property == "font-style") {
        if (value.empty() || value == "normal") style.italic = false;
        if (value == "italic" || value == "oblique") style.italic = true;
    } else if (property == "font-weight") {
        style.weight = ParseFontWeight(value, style.weight);
    } else if (property == "text-align") {
        ApplyTextAlign(style, value);
    } else if (property == "text-transform") {
        if (value.empty() || value == "none") style.transform = TextTransform::None;
        if (value == "uppercase") style.transform = TextTransform::Uppercase;
        if (value == "lowercase") style.transform = TextTransform::Lowercase;
        if (value == "capitalize") style.transform = TextTransform::Capitalize;
    } else if (property == "color") {
        style.textColour = ParseColour(value, style.textColour, context.colours);
    } else if (property == "background-color") {
        style.opaque = !(value.empty() || value == "transparent");
        if (style.opaque) {
            style.backgroundColour = ParseColour(value, style.backgroundColour, context.colours);
        }
    } else if (property == "text-decoration") {
        ApplyTextDecoration(style, value);
    } else if (property == "vertical-align") {
        ApplyVerticalAlign(style, value);
    } else if (property == "border-color") {
        style.borderLight = style.borderDark = ParseColour(value, style.borderLight, context.colours);
    } else if (property == "border-width" || property == "size") {
        ApplyBorderWidth(style, value, context.sizes);
    } else if (property == "border-style") {
        ApplyBorderStyle(style, value);
    } else if (property == "margin") {
        style.margin = ParseSize(value, style.margin, context.sizes);
    } else if (property == "padding") {
        style.padding = ParseSize(value, style.padding, context.sizes);
    }
}

}  // namespace

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

void StyleSheet::parse(std::string_view sheet) {
    size_t pos = 0;
    while (true) {
        while (pos < sheet.size() && !IsSelectorStart(sheet[pos])) ++pos;
        if (pos >= sheet.size()) return;
        const size_t selectorEnd = std::min(sheet.find_first_of(" {", pos), sheet.size());
        const size_t open = sheet.find('{', selectorEnd);
        if (open == std::string_view::npos) return;
        const size_t close = std::min(sheet.find('}', open + 1), sheet.size());
        rules_[ToLower(sheet.substr(pos, selectorEnd - pos))] =
            std::string(sheet.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
}

const std::string* StyleSheet::find(std::string_view selector) const {
    const auto it = rules_.find(selector);
    return it == rules_.end() ? nullptr : &it->second;
}

void ApplyDeclarations(MarkupStyle& style, std::string_view declarations,
                       const StyleContext& context) {
    const std::string text = ToLower(declarations);
    const std::string_view all(text);
    size_t pos = 0;
    while (pos < all.size()) {
        while (pos < all.size() && (all[pos] == ' ' || all[pos] == ';' || all[pos] == '\r' ||
                                    all[pos] == '\n' || all[pos] == '\t')) {
            ++pos;
        }
        if (pos >= all.size()) return;
        const size_t propertyEnd = std::min(all.find_first_of(" :", pos), all.size());
        const std::string_view property = all.substr(pos, propertyEnd - pos);
        const size_t colon = all.find(':', propertyEnd);
        if (colon == std::string_view::npos) return;
        const size_t valueEnd = std::min(all.find(';', colon + 1), all.size());
        ApplyProperty(style, property, Unquote(Trim(all.substr(colon + 1, valueEnd - colon - 1))),
                      context);
        pos = valueEnd + 1;
    }
}

int ParseFontWeight(std::string_view value, int current) {
    if (value.empty() || value == "normal") return 400;
    if (value == "bold") return 700;
    if (value == "bolder") return 900;
    if (value == "lighter") return 100;
    const long weight = std::strtol(std::string(value).c_str(), nullptr, 10);
    return weight >= 1 && weight <= 1000 ? static_cast<int>(weight) : current;
}

void ApplyBorderWidth(MarkupStyle& style, std::string_view value, const SizeContext& sizes) {
    if (value == "thin") {
        style.borderWidth = style.borderWidth * 75 / 100;
    } else if (value == "thick") {
        style.borderWidth = style.borderWidth * 125 / 100;
    } else if (value != "medium") {
        style.borderWidth = ParseSize(value, style.borderWidth, sizes);
    }
    if (style.borderWidth <= 0) {
        style.borderWidth = 0;
        style.borderStyle = BorderStyle::None;
    } else if (style.borderStyle == BorderStyle::None) {
        style.borderStyle = BorderStyle::Solid;
    }
}

void ApplyBorderStyle(MarkupStyle& style, std::string_view value) {
    if (value.empty() || value == "none") style.borderStyle = BorderStyle::None;
    if (value == "solid") style.borderStyle = BorderStyle::Solid;
    if (value == "dotted") style.borderStyle = BorderStyle::Dotted;
    if (value == "dashed") style.borderStyle = BorderStyle::Dashed;
    if (value == "double") style.borderStyle = BorderStyle::Double;
    if (style.borderStyle != BorderStyle::None && style.borderWidth == 0) style.borderWidth = 1;
}

void ApplyVerticalAlign(MarkupStyle& style, std::string_view value) {
    if (value.empty() || value == "baseline") style.verticalAlign = VerticalAlign::Baseline;
    if (value == "middle" || value == "vcenter") style.verticalAlign = VerticalAlign::Middle;
    if (value == "top") style.verticalAlign = VerticalAlign::Top;
    if (value == "bottom") style.verticalAlign = VerticalAlign::Bottom;
}

void ApplyTextAlign(MarkupStyle& style, std::string_view value) {
    if (value.empty() || value == "left") style.horizontalAlign = HorizontalAlign::Left;
    if (value == "center") style.horizontalAlign = HorizontalAlign::Center;
    if (value == "right") style.horizontalAlign = HorizontalAlign::Right;
    if (value == "justify") style.horizontalAlign = HorizontalAlign::Justify;
}

}  // namespace lumbra
