#pragma once
// Text from a disk, a snapshot or a mapfile as the text output prints it: every control
// character (C0, DEL and the C1 range) written as \xNN, so that the text can neither move the
// terminal's cursor, set its title, nor break the tab-separated columns.
#include <string>
#include <string_view>

namespace lumbra::cli {

// On-disk 8-bit names: Latin-1 turned into UTF-8, control bytes escaped.
std::string TerminalText(std::string_view latin1);

// UTF-8 text (full names, paths of this machine, messages built around them): well-formed
// characters other than controls pass as they are; a control character is written as \xNN of
// its code (U+009B as \x9b), and every byte that is not part of a well-formed UTF-8 sequence
// as \xNN of the byte.
std::string TerminalUtf8(std::string_view utf8);

}  // namespace lumbra::cli
