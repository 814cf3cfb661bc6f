// The tags of a pass: style changes and the objects that tags draw (breaks, tabs, rules,
// images, resource strings).
#include <algorithm>

#include "toolkit/markup_pass.h"

namespace lumbra {

namespace {

bool ReadFlagLetter(char letter, bool flag, MarkupStyle& style) {
    switch (letter) {
    case 'b':
        style.weight = flag ? 700 : 400;
        return true;
    case 'i':
        style.italic = flag;
        return true;
    case 'u':
        style.underline = flag;
        return true;
    case 's':
        style.strikeout = flag;
        return true;
    case 'o':
        style.overline = flag;
        return true;
    default:
        return false;
    }
}

}  // namespace

void MarkupPass::selectStyle() {
    surface_.selectFont(FontOf(style_));
    metrics_ = surface_.fontMetrics();
}

SizeContext MarkupPass::sizeContext() {
    return {metrics_.xHeight, metrics_.height, surface_.pixelsPerInch()};
}

void MarkupPass::applyRule(std::string_view selector) {
    if (const std::string* rule = sheet_.find(selector)) {
        ApplyDeclarations(style_, *rule, {colours_, sizeContext()});
    }
}

void MarkupPass::handleTag(const MarkupToken& token) {
    const MarkupTagInfo* info = FindMarkupTag(token.text);
    if (!info) return;
    if (info->stackName.empty()) {
        if (!token.closing) placeObject(info->tag, token.params);
        return;
    }
    if (token.closing) {
        if (!stack_.empty() && stack_.back().name == info->stackName) {
            style_ = stack_.back();
            stack_.pop_back();
            selectStyle();
        }
        return;
    }
    stack_.push_back(style_);
    stack_.back().name = std::string(info->stackName);
    applyTagEffect(*info, token);
    selectStyle();
}

void MarkupPass::applyTagEffect(const MarkupTagInfo& info, const MarkupToken& token) {
    switch (info.tag) {
    case MarkupTag::Bold:
        style_.weight = std::min(style_.weight * 2, 900);
        break;
    case MarkupTag::Italic:
        style_.italic = !style_.italic;
        break;
    case MarkupTag::Underline:
        style_.underline = !style_.underline;
        break;
    case MarkupTag::Strikeout:
        style_.strikeout = !style_.strikeout;
        break;
    case MarkupTag::Font:
        applyFontAttributes(ParseAttributes(token.params));
        break;
    case MarkupTag::AlignLeft:
        style_.horizontalAlign = HorizontalAlign::Left;
        break;
    case MarkupTag::AlignCenter:
        style_.horizontalAlign = HorizontalAlign::Center;
        break;
    case MarkupTag::AlignRight:
        style_.horizontalAlign = HorizontalAlign::Right;
        break;
    case MarkupTag::AlignJustify:
        style_.horizontalAlign = HorizontalAlign::Justify;
        break;
    case MarkupTag::VAlignBaseline:
        style_.verticalAlign = VerticalAlign::Baseline;
        break;
    case MarkupTag::VAlignTop:
        style_.verticalAlign = VerticalAlign::Top;
        break;
    case MarkupTag::VAlignMiddle:
        style_.verticalAlign = VerticalAlign::Middle;
        break;
    case MarkupTag::VAlignBottom:
        style_.verticalAlign = VerticalAlign::Bottom;
        break;
    case MarkupTag::SheetRule:
        applyRule(token.text);
        break;
    case MarkupTag::Span: {
        const MarkupAttributes attributes = ParseAttributes(token.params);
        if (const std::string* cls = FindAttribute(attributes, "class")) applyRule("." + *cls);
        break;
    }
    case MarkupTag::Link:
        applyLink(ParseAttributes(token.params));
        break;
    default:
        break;
    }
}

void MarkupPass::applyFontAttributes(const MarkupAttributes& attributes) {
    for (const auto& [name, value] : attributes) {
        if (name == "face") {
            if (!value.empty()) style_.face = value;
        } else if (name == "size") {
            style_.size = ParseSize(value, style_.size, sizeContext(), true);
        } else if (name == "color") {
            style_.textColour = ParseColour(value, style_.textColour, colours_);
        } else if (name == "style") {
            bool flag = true;
            for (char letter : value) {
                if (letter == '-') flag = false;
                if (letter == '+') flag = true;
                if (ReadFlagLetter(letter, flag, style_)) flag = true;
            }
        } else if (name == "weight") {
            style_.weight = ParseFontWeight(value, style_.weight);
        } else if (name == "bkgnd") {
            style_.opaque = !(value.empty() || value == "transparent");
            if (style_.opaque) style_.backgroundColour = ParseColour(value, style_.backgroundColour, colours_);
        }
    }
}

void MarkupPass::applyLink(const MarkupAttributes& attributes) {
    for (const auto& [name, value] : attributes) {
        if (name == "href") {
            style_.linkKind = LinkKind::Href;
            style_.linkTarget = value;
        } else if (name == "msg") {
            style_.linkKind = LinkKind::Message;
            style_.linkTarget = value;
        }
    }
    style_.linkIndex = ++linkCounter_;
    applyRule(linkCounter_ == settings_.hoverLink ? "a:hover" : "a:link");
}

void MarkupPass::placeObject(MarkupTag tag, const std::string& params) {
    switch (tag) {
    case MarkupTag::LineBreak:
        endLine(false, ObjectTagCount(params));
        break;
    case MarkupTag::Tab:
        placeTab(ObjectTagCount(params));
        break;
    case MarkupTag::Rule:
        placeRule(ParseAttributes(params));
        break;
    case MarkupTag::ResourceString: {
        const MarkupAttributes attributes = ParseAttributes(params);
        const std::string* id = FindAttribute(attributes, "idres");
        if (!id) id = FindAttribute(attributes, "iddll");
        if (!id) break;
        if (auto text = surface_.resourceString(ParseSize(*id, 0, sizeContext()))) emitPiece(*text);
        break;
    }
    default:
        placeImage(tag, ParseAttributes(params));
        break;
    }
}

void MarkupPass::placeTab(int count) {
    startLine();
    Block& b = *block_;
    const int tab = std::max(settings_.tabSize, 1);
    const int offset = b.x - b.left;
    const int next = ScaleExtent(tab, offset / tab + count, 1);  // the next multiple, then further tabs
    b.x = AddExtent(b.left, next);
    if (!settings_.drawing) widenLine(0, 0);
}

void MarkupPass::placeRule(const MarkupAttributes& attributes) {
    MarkupStyle ruleStyle = style_;
    if (const std::string* rule = sheet_.find("hr")) {
        ApplyDeclarations(ruleStyle, *rule, {colours_, sizeContext()});
    }
    const std::string* width = FindAttribute(attributes, "width");
    const std::string* size = FindAttribute(attributes, "size");
    const std::string* colour = FindAttribute(attributes, "color");
    const std::string widthText = width ? *width : "100%";
    const int thickness = std::max(size ? ParseSize(*size, 1, sizeContext()) : 1, 0);
    const Rgb ruleColour = colour ? ParseColour(*colour, ruleStyle.textColour, colours_)
                                  : ruleStyle.textColour;
    const bool percent = IsPercentSize(widthText);
    const int value = percent ? ParseSize(widthText, 100, sizeContext()) : ParseSize(widthText, 0, sizeContext());
    startLine();
    Block& b = *block_;
    if (!settings_.drawing) {
        b.x = AddExtent(b.x, percent ? 1 : value);
        if (percent) b.line.rulePercent = AddExtent(b.line.rulePercent, value);
        widenLine(std::max(0, thickness + 8 - b.line.descent), 0);
        return;
    }
    const int length = percent ? ScaleExtent(b.available, value, 100) : value;
    const int middle = block_->y + currentLine().ascent / 2;
    if (thickness > 0 && length > 0) {
        surface_.fillRect({b.x, middle - thickness / 2, AddExtent(b.x, length), middle - thickness / 2 + thickness},
                          ruleColour);
    }
    b.x = AddExtent(b.x, length);
}

}  // namespace lumbra
