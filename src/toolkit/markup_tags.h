#pragma once
// The tags of the markup, what each does and under which name it sits on the style stack.
#include <string_view>

namespace lumbra {

enum class MarkupTag {
    Bold, Italic, Underline, Strikeout, Font,
    Rule, LineBreak, Tab,
    AlignLeft, AlignCenter, AlignRight, AlignJustify,
    VAlignBaseline, VAlignTop, VAlignMiddle, VAlignBottom,
    Bitmap, Icon, ImageList, ResourceString,
    SheetRule,  // the style-sheet rule named like the tag is applied
    Span, Link,
};

struct MarkupTagInfo {
    MarkupTag tag;
    std::string_view stackName;  // empty for the tags that draw an object
};

// Looks a tag name up exactly (tag names are lower case); nullptr for an unknown tag.
const MarkupTagInfo* FindMarkupTag(std::string_view name);

}  // namespace lumbra
