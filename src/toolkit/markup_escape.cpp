#include "toolkit/markup_escape.h"

namespace lumbra {

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '<') {
            out += "&lt;";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace lumbra
