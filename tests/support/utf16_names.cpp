#include "support/utf16_names.h"

#include <algorithm>

namespace lumbra::test {

namespace {

// Length of the UTF-8 sequence at text[i] and its code point; 0 when it is not valid UTF-8.
size_t decodeUtf8(std::string_view text, size_t i, char32_t& point) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return 0;
    point = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return 0;
        point = (point << 6) | (byte(k) & 0x3F);
    }
    const bool overlong = (length == 2 && point < 0x80) || (length == 3 && point < 0x800) ||
                          (length == 4 && point < 0x10000);
    if (overlong || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            units.push_back(static_cast<char16_t>(text[i++]));
            continue;
        }
        char32_t point = 0;
        size_t length = decodeUtf8(text, i, point);
        if (length == 0) {
            point = static_cast<unsigned char>(text[i]);
            length = 1;
        }
        if (point >= 0x10000) {
            point -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(point));
        }
        i += length;
    }
    return units;
}

std::string lowBytesName(std::u16string_view units, size_t maxUnits) {
    std::string name;
    for (size_t i = 0; i < std::min(units.size(), maxUnits); ++i) {
        const char low = static_cast<char>(units[i] & 0xFF);
        if (low == 0) break;
        name.push_back(low);
    }
    return name;
}

std::string utf8FromLatin1(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace lumbra::test
