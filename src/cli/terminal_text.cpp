#include "cli/terminal_text.h"

#include "disk/text_encoding.h"

namespace lumbra::cli {
namespace {

bool IsControl(unsigned char byte) { return byte < 0x20 || (byte >= 0x7F && byte < 0xA0); }

}  // namespace

std::string TerminalText(std::string_view latin1) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(latin1.size());
    size_t plainStart = 0;
    for (size_t i = 0; i < latin1.size(); ++i) {
        const auto byte = static_cast<unsigned char>(latin1[i]);
        if (!IsControl(byte)) continue;
        text += Latin1ToUtf8(latin1.substr(plainStart, i - plainStart));
        text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
        plainStart = i + 1;
    }
    text += Latin1ToUtf8(latin1.substr(plainStart));
    return text;
}

}  // namespace lumbra::cli
