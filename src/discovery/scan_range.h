#pragma once
// The sector range of the partition scan, as the user types it.
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumbra {

// Sectors startSector up to, but not including, endSector; endSector > startSector.
struct ScanRange {
    uint32_t startSector = 0;
    uint32_t endSector = 0;
};

constexpr std::string_view kStartSectorInvalidText =
    "      Start sector value is not valid, It should be a positive number";
constexpr std::string_view kEndSectorInvalidText =
    "      End sector value is not valid, It should be a positive number";
constexpr std::string_view kEndNotAfterStartText =
    "      End sector should be bigger than start sector";

// An unsigned 32-bit decimal number made of digits only; nullopt for anything else (empty,
// a sign, a blank, a value above 4294967295).
std::optional<uint32_t> ParseSectorNumber(std::string_view text);

// The range, or the text that says what is wrong with it (error is empty when range is set).
struct ScanRangeCheck {
    std::optional<ScanRange> range;
    std::string_view error;
};

ScanRangeCheck ValidateScanRange(std::string_view startText, std::string_view endText);

}  // namespace lumbra
