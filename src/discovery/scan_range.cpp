#include "discovery/scan_range.h"

#include <limits>

namespace lumbra {

std::optional<uint32_t> ParseSectorNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

ScanRangeCheck ValidateScanRange(std::string_view startText, std::string_view endText) {
    const auto start = ParseSectorNumber(startText);
    if (!start) return {std::nullopt, kStartSectorInvalidText};
    const auto end = ParseSectorNumber(endText);
    if (!end) return {std::nullopt, kEndSectorInvalidText};
    if (*end <= *start) return {std::nullopt, kEndNotAfterStartText};
    return {ScanRange{*start, *end}, {}};
}

}  // namespace lumbra
