#include "cli/latin1_argument.h"

#include <cstdint>

#include "disk/text_encoding.h"

namespace lumbra::cli {
namespace {

// The code point of a well-formed sequence of `length` bytes.
uint32_t CodePoint(std::string_view sequence, size_t length) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (length == 1) return lead;
    uint32_t code = lead & (0x7Fu >> length);
    for (size_t i = 1; i < length; ++i) code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3Fu);
    return code;
}

}  // namespace

std::string Latin1FromArgument(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    bool nameEnded = false;
    while (!utf8.empty()) {
        const size_t length = Utf8SequenceLength(utf8);
        if (length == 0) {
            if (!nameEnded) text.push_back(utf8[0]);
            utf8.remove_prefix(1);
            continue;
        }
        const uint32_t code = CodePoint(utf8, length);
        utf8.remove_prefix(length);
        if (code == '\\' || code == '/') nameEnded = false;
        const uint32_t units[2] = {code < 0x10000 ? code : 0xD800 + ((code - 0x10000) >> 10),
                                   code < 0x10000 ? 0 : 0xDC00 + ((code - 0x10000) & 0x3FF)};
        for (size_t i = 0; i < (code < 0x10000 ? 1u : 2u) && !nameEnded; ++i) {
            nameEnded = (units[i] & 0xFF) == 0;
            if (!nameEnded) text.push_back(static_cast<char>(units[i] & 0xFF));
        }
    }
    return text;
}

}  // namespace lumbra::cli
