#include "cli/terminal_text.h"

#include "disk/text_encoding.h"

namespace lumbra::cli {
namespace {

bool IsControl(unsigned char byte) { return byte < 0x20 || (byte >= 0x7F && byte < 0xA0); }

void AppendEscaped(std::string& text, char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
}

// True for the two bytes of a C1 control character U+0080..U+009F.
bool IsC1Sequence(std::string_view text, size_t length) {
    return length == 2 && static_cast<unsigned char>(text[0]) == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
}

}  // namespace

std::string TerminalText(std::string_view latin1) { return TerminalUtf8(Latin1ToUtf8(latin1)); }

std::string TerminalUtf8(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    while (!utf8.empty()) {
        const size_t length = Utf8SequenceLength(utf8);
        if (length == 0 || (length == 1 && IsControl(static_cast<unsigned char>(utf8[0])))) {
            AppendEscaped(text, utf8[0]);
            utf8.remove_prefix(1);
            continue;
        }
        // A C1 control is written as its code: U+009B as \x9b.
        if (IsC1Sequence(utf8, length)) AppendEscaped(text, utf8[1]);
        else text += utf8.substr(0, length);
        utf8.remove_prefix(length);
    }
    return text;
}

}  // namespace lumbra::cli
