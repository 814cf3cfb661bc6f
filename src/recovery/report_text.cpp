#include "recovery/report_text.h"

#include "disk/text_encoding.h"

namespace lumbra {
namespace {

void AppendHexEscape(std::string& text, unsigned char byte) {
    static const char kDigits[] = "0123456789ABCDEF";
    text += "\\x";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
}

}  // namespace

std::string FileSystemText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const auto byte = static_cast<unsigned char>(bytes[0]);
        const size_t length = Utf8SequenceLength(bytes);
        if (byte == '\\') text += "\\\\";
        else if (length == 0 || byte < 0x20 || byte == 0x7F) AppendHexEscape(text, byte);
        else text.append(bytes.substr(0, length));
        bytes.remove_prefix(length == 0 ? 1 : length);
    }
    return text;
}

std::string DiskNameXmlText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            const unsigned picture = 0x2400 + (byte == 0x7F ? 0x21u : byte);
            text += static_cast<char>(0xE0 | (picture >> 12));
            text += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (picture & 0x3F));
        } else {
            text += c;
        }
    }
    return text;
}

std::string CommandLineText(const std::vector<std::string>& arguments) {
    static constexpr std::string_view kPlain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./=:,+@%";
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        if (!argument.empty() && argument.find_first_not_of(kPlain) == std::string::npos) {
            line += argument;
            continue;
        }
        line += '\'';
        for (char c : argument) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

std::string IsoTime(std::time_t seconds) {
    std::tm utc{};
    if (!gmtime_r(&seconds, &utc)) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) return {};
    return text;
}

}  // namespace lumbra
