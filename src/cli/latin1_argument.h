#pragma once
// Names and patterns typed on the command line are UTF-8; recovered names are 8-bit text read
// as Latin-1. Patterns are compared with names in the names' own encoding.
#include <string>
#include <string_view>

namespace lumbra::cli {

// UTF-8 characters U+0080..U+00FF become their Latin-1 byte; everything else is kept as is.
std::string Latin1FromArgument(std::string_view utf8);

}  // namespace lumbra::cli
