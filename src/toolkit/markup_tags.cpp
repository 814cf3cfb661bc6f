#include "toolkit/markup_tags.h"

#include <utility>

namespace lumbra {

namespace {

using Entry = std::pair<std::string_view, MarkupTagInfo>;

constexpr Entry kTags[] = {
    {"b", {MarkupTag::Bold, "bold"}},
    {"i", {MarkupTag::Italic, "italic"}},
    {"em", {MarkupTag::Italic, "italic"}},
    {"u", {MarkupTag::Underline, "underline"}},
    {"s", {MarkupTag::Strikeout, "strikeout"}},
    {"strike", {MarkupTag::Strikeout, "strikeout"}},
    {"font", {MarkupTag::Font, "font"}},
    {"hr", {MarkupTag::Rule, ""}},
    {"br", {MarkupTag::LineBreak, ""}},
    {"\n", {MarkupTag::LineBreak, ""}},
    {"t", {MarkupTag::Tab, ""}},
    {"\t", {MarkupTag::Tab, ""}},
    {"left", {MarkupTag::AlignLeft, "left"}},
    {"center", {MarkupTag::AlignCenter, "center"}},
    {"right", {MarkupTag::AlignRight, "right"}},
    {"justify", {MarkupTag::AlignJustify, "justify"}},
    {"baseline", {MarkupTag::VAlignBaseline, "baseline"}},
    {"top", {MarkupTag::VAlignTop, "top"}},
    {"vcenter", {MarkupTag::VAlignMiddle, "vcenter"}},
    {"middle", {MarkupTag::VAlignMiddle, "vcenter"}},
    {"bottom", {MarkupTag::VAlignBottom, "vcenter"}},
    {"bmp", {MarkupTag::Bitmap, ""}},
    {"icon", {MarkupTag::Icon, ""}},
    {"ilst", {MarkupTag::ImageList, ""}},
    {"string", {MarkupTag::ResourceString, ""}},
    {"body", {MarkupTag::SheetRule, "body"}},
    {"h1", {MarkupTag::SheetRule, "h1"}},
    {"h2", {MarkupTag::SheetRule, "h2"}},
    {"h3", {MarkupTag::SheetRule, "h3"}},
    {"h4", {MarkupTag::SheetRule, "h4"}},
    {"h5", {MarkupTag::SheetRule, "h5"}},
    {"h6", {MarkupTag::SheetRule, "h6"}},
    {"code", {MarkupTag::SheetRule, "code"}},
    {"pre", {MarkupTag::SheetRule, "pre"}},
    {"big", {MarkupTag::SheetRule, "big"}},
    {"small", {MarkupTag::SheetRule, "small"}},
    {"sub", {MarkupTag::SheetRule, "sub"}},
    {"sup", {MarkupTag::SheetRule, "sup"}},
    {"span", {MarkupTag::Span, "span"}},
    {"a", {MarkupTag::Link, "link"}},
};

}  // namespace

const MarkupTagInfo* FindMarkupTag(std::string_view name) {
    for (const auto& [tagName, info] : kTags) {
        if (tagName == name) return &info;
    }
    return nullptr;
}

}  // namespace lumbra
