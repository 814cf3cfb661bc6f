#pragma once
// Names and patterns typed on the command line are UTF-8; recovered names are compared in their
// 8-bit form (the low byte of each UTF-16 unit of the volume's name, up to a unit whose low byte
// is 0). Patterns and paths are turned into that form by the same rule, so that a name typed as
// list shows it in full finds its record.
#include <string>
#include <string_view>

namespace lumbra::cli {

// Each character becomes the low bytes of its UTF-16 units (U+0080..U+00FF their Latin-1 byte);
// a unit whose low byte is 0 ends the name it is in, up to the next "\" or "/". A byte that is
// not part of well-formed UTF-8 is kept as it is.
std::string Latin1FromArgument(std::string_view utf8);

}  // namespace lumbra::cli
