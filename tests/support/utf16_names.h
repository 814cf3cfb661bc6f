#pragma once
// Names as the builder writes them (UTF-16LE units from UTF-8 text) and as the parsers read
// them back (the low byte of each unit, ending at a unit whose low byte is 0).
#include <cstddef>
#include <string>
#include <string_view>

namespace lumbra::test {

// Bytes that are not valid UTF-8 are taken as Latin-1 characters.
std::u16string utf16FromUtf8(std::string_view text);

// The 8-bit name a parser reads from the first `maxUnits` units.
std::string lowBytesName(std::u16string_view units, size_t maxUnits = std::u16string_view::npos);

// Latin-1 bytes to UTF-8 (for manifests and paths shown to people).
std::string utf8FromLatin1(std::string_view text);

}  // namespace lumbra::test
