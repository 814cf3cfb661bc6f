#pragma once
// Little-endian access to on-disk bytes. Readers check bounds and answer nullopt for a field
// that would lie past the end of its block; writers grow nothing and ignore nothing: they are
// only called on buffers the caller sized.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumbra {

using ByteView = std::span<const uint8_t>;

inline bool fits(ByteView bytes, size_t offset, size_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

inline std::optional<uint8_t> le8(ByteView bytes, size_t offset) {
    if (!fits(bytes, offset, 1)) return std::nullopt;
    return bytes[offset];
}

inline std::optional<uint16_t> le16(ByteView bytes, size_t offset) {
    if (!fits(bytes, offset, 2)) return std::nullopt;
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::optional<uint32_t> le32(ByteView bytes, size_t offset) {
    if (!fits(bytes, offset, 4)) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

inline std::optional<uint64_t> le64(ByteView bytes, size_t offset) {
    if (!fits(bytes, offset, 8)) return std::nullopt;
    uint64_t value = 0;
    for (size_t i = 0; i < 8; ++i) value |= static_cast<uint64_t>(bytes[offset + i]) << (8 * i);
    return value;
}

// True when the bytes at offset equal text exactly (no terminator compared).
inline bool bytesEqual(ByteView bytes, size_t offset, std::string_view text) {
    if (!fits(bytes, offset, text.size())) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (bytes[offset + i] != static_cast<uint8_t>(text[i])) return false;
    return true;
}

// UTF-16LE text of up to maxUnits units kept as 8-bit text: the low byte of each unit, up to
// the first unit whose low byte is 0 (so no name ever holds a NUL). Units past the end of the
// block end the text.
inline std::string lowBytesOfUtf16(ByteView bytes, size_t offset, size_t maxUnits) {
    std::string text;
    for (size_t i = 0; i < maxUnits; ++i) {
        auto unit = le16(bytes, offset + 2 * i);
        if (!unit || (*unit & 0xFF) == 0) break;
        text.push_back(static_cast<char>(*unit & 0xFF));
    }
    return text;
}

inline void putLe16(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
    for (size_t i = 0; i < 2; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void putLe32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void putLe64(std::span<uint8_t> bytes, size_t offset, uint64_t value) {
    for (size_t i = 0; i < 8; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace lumbra
