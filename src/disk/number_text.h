#pragma once
// Numbers a person types: counts and rows in decimal, sector numbers in decimal or hexadecimal.
#include <cstdint>
#include <optional>
#include <string>

namespace lumbra {

// An unsigned decimal number within [low, high]; nullopt for anything else (signs, blanks,
// other characters, overflow).
std::optional<uint64_t> ParseUnsigned(const std::string& text, uint64_t low, uint64_t high);

// Ends a byte position where a sector is asked for: mapfiles count bytes, the commands sectors.
// Upper-case B stays a hexadecimal digit.
constexpr char kBytePositionSuffix = 'b';

// A sector number within [low, high], in decimal or, after "0x" or "0X", in hexadecimal as
// mapfiles write them; or, ending in kBytePositionSuffix, a byte position in either form, which
// names the sector holding that byte (0x18D000b is sector 0xC68).
std::optional<uint64_t> ParseSectorArgument(const std::string& text, uint64_t low, uint64_t high);

}  // namespace lumbra
