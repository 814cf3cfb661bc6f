#pragma once
// On-disk names are kept as 8-bit text (the low byte of each UTF-16 unit) and read as Latin-1.
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

}  // namespace lumbra
