#include "recovery/safe_file_name.h"

#include "disk/text_encoding.h"

namespace lumbra {
namespace {

constexpr size_t kKeptExtensionBytes = 16;

bool IsUnsafeByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\';
}

// Latin-1 bytes 0x80..0x9F are C1 control characters once converted.
bool IsControlCharacter(unsigned char byte) { return byte >= 0x80 && byte <= 0x9F; }

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

std::string SafeFileName(std::string_view name8Bit) {
    std::string cleaned;
    cleaned.reserve(name8Bit.size());
    for (char c : name8Bit) {
        const auto byte = static_cast<unsigned char>(c);
        cleaned.push_back(IsUnsafeByte(byte) || IsControlCharacter(byte) ? '_' : c);
    }
    if (cleaned.empty() || cleaned == "." || cleaned == "..") cleaned = std::string("_").append(cleaned);
    std::string utf8 = Latin1ToUtf8(cleaned);
    if (utf8.size() > kMaxDestinationNameBytes) utf8 = ShortenKeepingExtension(utf8);
    return utf8;
}

}  // namespace lumbra
