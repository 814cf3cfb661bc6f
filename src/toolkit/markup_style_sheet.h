#pragma once
// The style sheet: rules by selector, and how a rule's declarations change a style.
#include <map>
#include <string>
#include <string_view>

#include "toolkit/markup_colour.h"
#include "toolkit/markup_size.h"
#include "toolkit/markup_style.h"

namespace lumbra {

// The sheet every drawer starts with.
extern const char* const kDefaultStyleSheet;

class StyleSheet {
public:
    // Adds the rules of a sheet; a rule replaces an earlier one of the same selector.
    void parse(std::string_view sheet);
    // The declarations of a selector (tag name, "a:link", ".class"), or nullptr.
    const std::string* find(std::string_view selector) const;

private:
    std::map<std::string, std::string, std::less<>> rules_;
};

// Everything a declaration's value is read against.
struct StyleContext {
    const ColourTable& colours;
    SizeContext sizes;
};

// Applies declarations ("font-size: 10pt; color:black") to a style.
void ApplyDeclarations(MarkupStyle& style, std::string_view declarations,
                       const StyleContext& context);

// The single properties, shared with the attributes of tags that mean the same.
int ParseFontWeight(std::string_view value, int current);
void ApplyBorderWidth(MarkupStyle& style, std::string_view value, const SizeContext& sizes);
void ApplyBorderStyle(MarkupStyle& style, std::string_view value);
void ApplyVerticalAlign(MarkupStyle& style, std::string_view value);
void ApplyTextAlign(MarkupStyle& style, std::string_view value);

std::string ToLower(std::string_view text);

}  // namespace lumbra
