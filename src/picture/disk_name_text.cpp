#include "picture/disk_name_text.h"

#include "disk/text_encoding.h"

namespace lumbra {

std::string DiskNameText(std::string_view latin1) {
    std::string text;
    text.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) text += "\xEF\xBF\xBD";
        else text += Latin1ToUtf8(std::string_view(&c, 1));
    }
    return text;
}

}  // namespace lumbra
