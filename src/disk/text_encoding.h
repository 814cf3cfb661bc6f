#pragma once
// On-disk names are kept as 8-bit text (the low byte of each UTF-16 unit) and read as Latin-1;
// a name with characters beyond Latin-1 is kept in full as UTF-8 beside it. Paths of this
// machine are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace lumbra {

inline std::string Latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

// UTF-8 characters U+0080..U+00FF become their Latin-1 byte; everything else is kept as is.
inline std::string Utf8ToLatin1(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const bool twoByteLatin1 = (lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size() &&
                                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
        if (!twoByteLatin1) {
            latin1.push_back(utf8[i]);
            continue;
        }
        const auto next = static_cast<unsigned char>(utf8[++i]);
        latin1.push_back(static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F)));
    }
    return latin1;
}

// The length of the well-formed UTF-8 sequence at the start of `bytes` (shortest form, no
// surrogates, at most U+10FFFF); 0 when there is none.
inline size_t Utf8SequenceLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto byte = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else return 0;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    if (bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// UTF-8 text of this machine (paths) for a display that shows 8-bit text as Latin-1: characters
// up to U+00FF become their byte, any other well-formed character becomes "?", and a byte that is
// not part of a well-formed sequence is kept as it is (a path that was never UTF-8).
inline std::string Utf8ToLatin1Display(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    while (!utf8.empty()) {
        const size_t length = Utf8SequenceLength(utf8);
        const auto lead = static_cast<unsigned char>(utf8[0]);
        if (length <= 1) latin1.push_back(utf8[0]);
        else if (length == 2 && lead <= 0xC3)
            latin1.push_back(static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(utf8[1]) & 0x3F)));
        else latin1.push_back('?');
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
    return latin1;
}

// UTF-16 units to UTF-8; a surrogate that is not half of a pair becomes U+FFFD.
inline std::string Utf16ToUtf8(std::u16string_view units) {
    std::string utf8;
    utf8.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t code = units[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        const bool pairs = high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        if (pairs) code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
        if (code < 0x80) {
            utf8.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            utf8.push_back(static_cast<char>(0xE0 | (code >> 12)));
            utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            utf8.push_back(static_cast<char>(0xF0 | (code >> 18)));
            utf8.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return utf8;
}

}  // namespace lumbra
