#include "recovery/safe_file_name.h"

#include "disk/text_encoding.h"

namespace lumbra {
namespace {

constexpr size_t kKeptExtensionBytes = 16;

bool IsUnsafeByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\';
}

// The C1 control characters U+0080..U+009F.
bool IsC1Control(std::string_view character) {
    return character.size() == 2 && static_cast<unsigned char>(character[0]) == 0xC2 &&
           static_cast<unsigned char>(character[1]) < 0xA0;
}

// The longest prefix of UTF-8 text of at most `limit` bytes that ends on a character boundary.
size_t Utf8Cut(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}

std::string ShortenKeepingExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    std::string_view extension;
    if (dot != std::string::npos && dot > 0 && name.size() - dot <= kKeptExtensionBytes)
        extension = std::string_view(name).substr(dot);
    std::string_view stem = std::string_view(name).substr(0, name.size() - extension.size());
    stem = stem.substr(0, Utf8Cut(stem, kMaxDestinationNameBytes - extension.size()));
    return std::string(stem) + std::string(extension);
}

}  // namespace

std::string SafeFullFileName(std::string_view utf8) {
    std::string cleaned;
    cleaned.reserve(utf8.size());
    while (!utf8.empty()) {
        const size_t length = Utf8SequenceLength(utf8);
        const std::string_view character = utf8.substr(0, length == 0 ? 1 : length);
        const bool unsafe = length == 0 || (length == 1 && IsUnsafeByte(static_cast<unsigned char>(utf8[0]))) ||
                            IsC1Control(character);
        if (unsafe) cleaned.push_back('_');
        else cleaned += character;
        utf8.remove_prefix(character.size());
    }
    if (cleaned.empty() || cleaned == "." || cleaned == "..") cleaned = std::string("_").append(cleaned);
    if (cleaned.size() > kMaxDestinationNameBytes) cleaned = ShortenKeepingExtension(cleaned);
    return cleaned;
}

std::string SafeFileName(std::string_view name8Bit) { return SafeFullFileName(Latin1ToUtf8(name8Bit)); }

}  // namespace lumbra
