#pragma once
// Text from the disk or the user, made safe to put into markup.
#include <string>
#include <string_view>

namespace lumbra {

// Every "<" becomes the entity "&lt;", so that no tag can form and the text draws as it reads.
std::string EscapeMarkup(std::string_view text);

}  // namespace lumbra
