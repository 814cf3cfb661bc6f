#pragma once
// Numbers a person types: counts and rows in decimal, sector numbers in decimal or hexadecimal.
#include <cstdint>
#include <optional>
#include <string>

namespace lumbra {

// An unsigned decimal number within [low, high]; nullopt for anything else (signs, blanks,
// other characters, overflow).
std::optional<uint64_t> ParseUnsigned(const std::string& text, uint64_t low, uint64_t high);

// A sector number within [low, high], in decimal or, after "0x" or "0X", in hexadecimal as
// mapfiles write them.
std::optional<uint64_t> ParseSectorArgument(const std::string& text, uint64_t low, uint64_t high);

}  // namespace lumbra
