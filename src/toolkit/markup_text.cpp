#include "toolkit/markup_text.h"

#include <array>
#include <utility>

namespace lumbra {

namespace {

// Ascending by entity text; the order matters because one replacement can form the next.
// "&lt;" becomes the doubled "<<" that the tokenizer reads as one literal "<".
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kEntities = {{
    {"&amp;", "&"},
    {"&bull;", "\x95"},
    {"&copy;", "\xA9"},
    {"&euro;", "\x88"},
    {"&gt;", ">"},
    {"&iquest;", "\xBF"},
    {"&lt;", "<<"},
    {"&nbsp;", " "},
    {"&para;", "\xB6"},
    {"&pound;", "\xA3"},
    {"&quot;", "\""},
    {"&reg;", "\xAE"},
    {"&trade;", "\x99"},
}};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string PrepareMarkupText(std::string_view text) {
    std::string result(text);
    for (const auto& [entity, replacement] : kEntities) ReplaceAll(result, entity, replacement);
    std::string out;
    out.reserve(result.size());
    for (char c : result) {
        if (c == '\r') continue;
        if (c == '\n') {
            out += "<br>";
        } else if (c == '\t') {
            out += "<t>";
        } else {
            out += c;
        }
    }
    return out;
}

std::string TransformText(std::string_view text, TextTransform transform) {
    std::string out(text);
    switch (transform) {
    case TextTransform::None:
        break;
    case TextTransform::Uppercase:
        for (char& c : out) c = Upper(c);
        break;
    case TextTransform::Lowercase:
        for (char& c : out) c = Lower(c);
        break;
    case TextTransform::Capitalize:
        for (size_t i = 0; i < out.size(); ++i) {
            out[i] = (i == 0 || out[i - 1] == ' ') ? Upper(out[i]) : Lower(out[i]);
        }
        break;
    }
    return out;
}

}  // namespace lumbra
