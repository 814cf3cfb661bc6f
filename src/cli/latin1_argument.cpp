#include "cli/latin1_argument.h"

namespace lumbra::cli {

std::string Latin1FromArgument(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const bool twoByteLatin1 = (lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size() &&
                                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
        if (!twoByteLatin1) {
            latin1.push_back(utf8[i]);
            continue;
        }
        const auto next = static_cast<unsigned char>(utf8[++i]);
        latin1.push_back(static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F)));
    }
    return latin1;
}

}  // namespace lumbra::cli
