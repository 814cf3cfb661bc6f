#pragma once
// On-disk names as the text output prints them: Latin-1 turned into UTF-8, with every control
// byte (C0, DEL and the C1 range of Latin-1) written as \xNN, so that a name can neither move
// the terminal's cursor nor break the tab-separated columns.
#include <string>
#include <string_view>

namespace lumbra::cli {

std::string TerminalText(std::string_view latin1);

}  // namespace lumbra::cli
