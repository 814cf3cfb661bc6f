#include "disk/number_text.h"

#include <limits>

#include "disk/sector.h"

namespace lumbra {

std::optional<uint64_t> ParseUnsigned(const std::string& text, uint64_t low, uint64_t high) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (number > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::nullopt;
        number = number * 10 + digit;
    }
    if (number < low || number > high) return std::nullopt;
    return number;
}

namespace {

// An unsigned number in decimal or, after "0x" or "0X", in hexadecimal.
std::optional<uint64_t> ParseDecimalOrHex(const std::string& text) {
    if (text.size() < 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return ParseUnsigned(text, 0, std::numeric_limits<uint64_t>::max());
    const std::string digits = text.substr(2);
    if (digits.empty() || digits.size() > 16) return std::nullopt;
    uint64_t number = 0;
    for (char c : digits) {
        const char lower = static_cast<char>(c | 0x20);
        uint64_t digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<uint64_t>(c - '0');
        else if (lower >= 'a' && lower <= 'f') digit = static_cast<uint64_t>(lower - 'a' + 10);
        else return std::nullopt;
        number = number << 4 | digit;
    }
    return number;
}

}  // namespace

std::optional<uint64_t> ParseSectorArgument(const std::string& text, uint64_t low, uint64_t high) {
    const bool bytes = text.size() > 1 && text.back() == kBytePositionSuffix;
    auto number = ParseDecimalOrHex(bytes ? text.substr(0, text.size() - 1) : text);
    if (number && bytes) *number /= kSectorSize;
    if (!number || *number < low || *number > high) return std::nullopt;
    return number;
}

}  // namespace lumbra
