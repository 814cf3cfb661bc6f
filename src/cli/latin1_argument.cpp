#include "cli/latin1_argument.h"

#include "disk/text_encoding.h"

namespace lumbra::cli {

std::string Latin1FromArgument(std::string_view utf8) { return Utf8ToLatin1(utf8); }

}  // namespace lumbra::cli
