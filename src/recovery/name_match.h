#pragma once
// The one name-matching rule of the file filters, the saving filter and Find Files: a greedy
// glob with "*" and "?". Its outcomes differ from a textbook glob on purpose (a pattern
// without wildcards is a substring test, one with "?" but no "*" a prefix test), because users'
// saved filters and habits rely on them.
#include <string>
#include <string_view>

namespace lumbra {

// True when `name` matches `pattern`. Both are 8-bit text that every caller upper-cases first
// (UpperCase8Bit), which makes the test case-insensitive. Keeps no state; safe on any thread.
bool MatchName(std::string_view name, std::string_view pattern);

// Upper-cases 8-bit text read as Latin-1: a-z and the accented small letters 0xE0..0xFE
// (except the division sign 0xF7) become capitals; every other byte is kept.
std::string UpperCase8Bit(std::string_view text);

}  // namespace lumbra
